#include "app/appstate.h"
#include "app/lang.h"

#include <QtTest>

class TestLang : public QObject
{
    Q_OBJECT

    QString lookup(const QString &strLanguage, const char *context, const QString &strText)
    {
        AppState::instance().language = strLanguage;
        const QString result = Lang::tr(context, strText);
        Lang::release();
        return result;
    }

private Q_SLOTS:
    void cleanup() { AppState::reset(); }

    void englishNeedsNoTable()
    {
        QCOMPARE(lookup(QStringLiteral("en_GB"), "MainWindow", QStringLiteral("Open")),
                 QStringLiteral("Open"));
        QCOMPARE(lookup(QStringLiteral("en_GB"), "Nowhere", QString()), QString());
    }

    void entriesAreLookedUpByContextAndExactText()
    {
        const QString code = QStringLiteral("xx_TEST");
        QCOMPARE(lookup(code, "MainWindow", QStringLiteral("Open")), QStringLiteral("Aufmachen"));
        QCOMPARE(lookup(code, "MessageBox", QStringLiteral("Open")), QStringLiteral("Öffnen"));
        QCOMPARE(lookup(code, "MainWindow", QStringLiteral("Exit")), QStringLiteral("Beenden"));
        QCOMPARE(lookup(code, "MessageBox", QStringLiteral("Save as...")),
                 QStringLiteral("Speichern unter..."));
        // Case and punctuation must match exactly.
        QCOMPARE(lookup(code, "MainWindow", QStringLiteral("open")), QStringLiteral("open"));
        QCOMPARE(lookup(code, "MessageBox", QStringLiteral("Save as")), QStringLiteral("Save as"));
        QCOMPARE(lookup(code, "Tools", QStringLiteral("Open")), QStringLiteral("Open"));
    }

    void brokenOrMissingTableGivesEnglish()
    {
        QCOMPARE(lookup(QStringLiteral("xx_BROKEN"), "MainWindow", QStringLiteral("Open")),
                 QStringLiteral("Open"));
        QCOMPARE(lookup(QStringLiteral("../../etc/passwd"), "MainWindow", QStringLiteral("Open")),
                 QStringLiteral("Open"));
    }

    // A damaged table never blanks a text: empty entries, a missing context,
    // stray elements and an unparsable file all leave the English text.
    void damagedTablesLeaveEnglish()
    {
        const QString partial = QStringLiteral("xx_PARTIAL");
        QCOMPARE(lookup(partial, "MainWindow", QStringLiteral("Save...")),
                 QStringLiteral("Sichern..."));
        for (const char *text : { "Open", "Exit", "Undo", "Redo" })
            QCOMPARE(lookup(partial, "MainWindow", QLatin1String(text)), QLatin1String(text));
        QCOMPARE(lookup(partial, "Tools", QStringLiteral("Close")), QStringLiteral("Close"));
        QCOMPARE(lookup(partial, "Tools", QString()), QString());
        QCOMPARE(lookup(partial, "MessageBox", QStringLiteral("Save")), QStringLiteral("Save"));
        QCOMPARE(lookup(QStringLiteral("xx_BROKEN"), "MainWindow", QStringLiteral("Save...")),
                 QStringLiteral("Save..."));
    }

    void singleLookupReleasesTheTable()
    {
        AppState::instance().language = QStringLiteral("xx_TEST");
        QCOMPARE(Lang::single("MainWindow", QStringLiteral("Open")), QStringLiteral("Aufmachen"));
        // A table kept after the lookup would still answer in the old language.
        AppState::instance().language = QStringLiteral("en_GB");
        QCOMPARE(Lang::single("MainWindow", QStringLiteral("Open")), QStringLiteral("Open"));
    }

    void desktopLanguagesChooseATable()
    {
        const QList<QPair<const char *, const char *>> cases {
            { "zh_CN", "zh_CN" },      { "zh_SG", "zh_CN" }, { "zh_TW", "zh_TW" },
            { "zh_HK", "zh_TW" },      { "zh_MO", "zh_TW" }, { "zh_Hant_CN", "zh_TW" },
            { "zh_Hans_HK", "zh_CN" }, { "en_US", "en_GB" }, { "de_DE", "en_GB" },
            { "ja_JP", "en_GB" },      { "C", "en_GB" },
        };
        for (const auto &[locale, code] : cases)
            QVERIFY2(Lang::codeForLocale(QLocale(QLatin1String(locale))) == QLatin1String(code),
                     locale);
    }

    void releaseLoadsTheNewLanguage()
    {
        AppState::instance().language = QStringLiteral("xx_TEST");
        QCOMPARE(Lang::tr("MainWindow", QStringLiteral("Open")), QStringLiteral("Aufmachen"));
        AppState::instance().language = QStringLiteral("en_GB");
        // Still the loaded table until it is released.
        QCOMPARE(Lang::tr("MainWindow", QStringLiteral("Open")), QStringLiteral("Aufmachen"));
        Lang::release();
        QCOMPARE(Lang::tr("MainWindow", QStringLiteral("Open")), QStringLiteral("Open"));
        Lang::release();
    }

    void displayNamesMapToCodes()
    {
        QCOMPARE(Lang::codeForDisplayName(QStringLiteral("English")), QStringLiteral("en_GB"));
        QCOMPARE(Lang::codeForDisplayName(QStringLiteral("简体中文")), QStringLiteral("zh_CN"));
        QCOMPARE(Lang::codeForDisplayName(QStringLiteral("繁體中文")), QStringLiteral("zh_TW"));
        QCOMPARE(Lang::codeForDisplayName(QStringLiteral("english")), QString());
        QCOMPARE(Lang::codeForDisplayName(QStringLiteral("Klingon")), QString());
    }
};

QTEST_GUILESS_MAIN(TestLang)
#include "test_lang.moc"
