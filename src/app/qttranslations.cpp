#include "qttranslations.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTranslator>

namespace {
// Owned by the application object, so that it goes with it.
QPointer<QTranslator> s_installed;
} // namespace

bool QtTranslations::apply(const QString &strCode)
{
    if (s_installed) {
        QCoreApplication::removeTranslator(s_installed);
        delete s_installed.data();
    }
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(QStringLiteral(":/Language/qt_%1.qm").arg(strCode))) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    s_installed = translator;
    return true;
}
