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
        QCOMPARE(Lang::codeForDisplayName(QStringLiteral("english")), QString());
        QCOMPARE(Lang::codeForDisplayName(QStringLiteral("Klingon")), QString());
    }
};

QTEST_GUILESS_MAIN(TestLang)
#include "test_lang.moc"
