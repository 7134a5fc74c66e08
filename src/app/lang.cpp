#include "lang.h"

#include "appstate.h"

#include <QStringList>

#include <utility>

namespace {
Lang *s_lang = nullptr;

QDomElement parseTable(QFile &file, QDomDocument &document)
{
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    if (!document.setContent(&file, true))
        return {};
    return document.documentElement();
}

// Code and display name of every language ":/Language/Language.xml" lists.
QList<std::pair<QString, QString>> languageList()
{
    QFile list(QStringLiteral(":/Language/Language.xml"));
    QDomDocument document;
    const QDomElement listRoot = parseTable(list, document);
    QList<std::pair<QString, QString>> languages;
    for (QDomElement e = listRoot.firstChildElement(QStringLiteral("String")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("String")))
        languages.append({ e.attribute(QStringLiteral("name")), e.text() });
    return languages;
}
} // namespace

Lang::Lang(const QString &strFile)
    : file(strFile)
{
    root = parseTable(file, document);
}

Lang *Lang::instance()
{
    if (!s_lang)
        s_lang = new Lang(QStringLiteral(":/Language/%1.xml").arg(AppState::instance().language));
    return s_lang;
}

void Lang::release()
{
    delete s_lang;
    s_lang = nullptr;
}

QString Lang::tr(const char *context, const QString &strText)
{
    return instance()->translate(QLatin1String(context), strText);
}

QString Lang::single(const char *context, const QString &strText)
{
    const QString result = tr(context, strText);
    release();
    return result;
}

QString Lang::translate(const QString &strContext, const QString &strText)
{
    // An entry without a name must not give text to an empty label.
    if (root.isNull() || strText.isEmpty())
        return strText;
    context = root.firstChildElement(strContext);
    if (context.isNull())
        return strText;
    for (QDomElement e = context.firstChildElement(QStringLiteral("String")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("String"))) {
        if (e.attribute(QStringLiteral("name")) == strText) {
            // A damaged entry must not leave a blank label.
            const QString translation = e.text();
            return translation.trimmed().isEmpty() ? strText : translation;
        }
    }
    return strText;
}

QString Lang::codeForDisplayName(const QString &strName)
{
    for (const auto &[code, name] : languageList()) {
        if (name == strName)
            return code;
    }
    return {};
}

QStringList Lang::knownCodes()
{
    static QStringList codes;
    if (codes.isEmpty()) {
        for (const auto &language : languageList())
            codes.append(language.first);
    }
    return codes;
}

QString Lang::codeForLocale(const QLocale &locale)
{
    if (locale.language() != QLocale::Chinese)
        return QStringLiteral("en_GB");
    // Traditional script, or a region that writes it, unless the locale
    // names Simplified outright.
    if (locale.script() == QLocale::SimplifiedHanScript)
        return QStringLiteral("zh_CN");
    switch (locale.territory()) {
    case QLocale::Taiwan:
    case QLocale::HongKong:
    case QLocale::Macao:
        return QStringLiteral("zh_TW");
    default:
        return locale.script() == QLocale::TraditionalHanScript ? QStringLiteral("zh_TW")
                                                                : QStringLiteral("zh_CN");
    }
}
