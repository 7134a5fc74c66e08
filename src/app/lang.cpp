#include "lang.h"

#include "appstate.h"

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

QString Lang::translate(const QString &strContext, const QString &strText)
{
    if (root.isNull())
        return strText;
    context = root.firstChildElement(strContext);
    if (context.isNull())
        return strText;
    for (QDomElement e = context.firstChildElement(QStringLiteral("String")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("String"))) {
        if (e.attribute(QStringLiteral("name")) == strText)
            return e.text();
    }
    return strText;
}

QString Lang::codeForDisplayName(const QString &strName)
{
    QFile list(QStringLiteral(":/Language/Language.xml"));
    QDomDocument document;
    const QDomElement listRoot = parseTable(list, document);
    for (QDomElement e = listRoot.firstChildElement(QStringLiteral("String")); !e.isNull();
         e = e.nextSiblingElement(QStringLiteral("String"))) {
        if (e.text() == strName)
            return e.attribute(QStringLiteral("name"));
    }
    return {};
}
