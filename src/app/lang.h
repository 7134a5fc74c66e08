#pragma once

#include <QDomDocument>
#include <QDomElement>
#include <QFile>
#include <QLocale>
#include <QObject>
#include <QStringList>

// The string table of the current language, loaded on first use and released
// after each batch of lookups. English is the text in the code; a missing
// table, context or entry leaves the English text.
class Lang : public QObject
{
    Q_OBJECT
public:
    static Lang *instance();
    static void release();
    // Shorthand for instance()->translate(...).
    static QString tr(const char *context, const QString &strText);
    // One lookup that is a batch of its own: the table is released after it.
    static QString single(const char *context, const QString &strText);

    QString translate(const QString &strContext, const QString &strText);

    // The language code whose display name is strName in ":/Language/Language.xml",
    // or an empty string when there is none.
    static QString codeForDisplayName(const QString &strName);
    // The codes of every table ":/Language/Language.xml" lists.
    static QStringList knownCodes();
    // The table for a desktop language: Chinese of mainland China and
    // Singapore is "zh_CN", of Taiwan, Hong Kong and Macao "zh_TW"; any other
    // language is "en_GB".
    static QString codeForLocale(const QLocale &locale);

private:
    explicit Lang(const QString &strFile);

    QFile file;
    QDomDocument document;
    QDomElement root;
    QDomElement context;
};
