#include "messageboxdialog.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/resourcepixmap.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QFontMetrics>

namespace {

QString englishCaption(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return QStringLiteral("OK");
    case QMessageBox::Cancel:
        return QStringLiteral("Cancel");
    case QMessageBox::Save:
        return QStringLiteral("Save");
    case QMessageBox::Discard:
        return QStringLiteral("Discard");
    default:
        return {};
    }
}

} // namespace

MessageBoxDialog::MessageBoxDialog(QWidget *pParent, const QString &strText,
                                   const QString &strInformative,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton defaultButton)
    : QMessageBox(pParent)
{
    setWindowTitle(productTitle());
    const int side = AppState::instance().scaled(64);
    setIconPixmap(ResourcePixmap::load(QStringLiteral(":/Res/Tavelmark"))
                      .scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Lang *lang = Lang::instance();
    const QString context = QStringLiteral("MessageBox");
    setText(lang->translate(context, strText));
    if (!strInformative.isEmpty())
        setInformativeText(lang->translate(context, strInformative));
    setStandardButtons(buttons);
    if (defaultButton != QMessageBox::NoButton)
        setDefaultButton(defaultButton);
    for (QAbstractButton *b : this->buttons()) {
        const QString english = englishCaption(standardButton(b));
        if (!english.isEmpty())
            b->setText(lang->translate(context, english));
    }
    Lang::release();
}

int MessageBoxDialog::titleWidth() const
{
    // Room for the icon and three buttons of a common title bar, in the
    // font Qt itself takes for title bars.
    constexpr int Decorations = 160;
    return QFontMetrics(QApplication::font("QMdiSubWindowTitleBar"))
               .horizontalAdvance(windowTitle())
        + Decorations;
}

// QMessageBox sizes itself when shown and leaves room for the bare title
// text only: a short question (in Chinese, say) had its title elided.
void MessageBoxDialog::showEvent(QShowEvent *pEvent)
{
    QMessageBox::showEvent(pEvent);
    if (width() < titleWidth())
        setFixedWidth(titleWidth());
}

QString MessageBoxDialog::productTitle()
{
    return QStringLiteral("%1 %2").arg(QCoreApplication::organizationName(),
                                       QCoreApplication::applicationName());
}
