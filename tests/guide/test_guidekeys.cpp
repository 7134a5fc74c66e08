#include "app/appstate.h"
#include "guidebook.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "mainwindow/shortcuttable.h"
#include "shortcuttext.h"
#include "testenvironment.h"

#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

// The user guide in every language against the program: the keys it names
// are the program's, its menu paths are the program's menus in that
// language, and the printed guides carry the keys as text.
class TestGuideKeys : public QObject
{
    Q_OBJECT

    static QStringList languages()
    {
        return { QStringLiteral("en"), QStringLiteral("zh_CN"), QStringLiteral("zh_TW") };
    }

    static QString programLanguage(const QString &strGuide)
    {
        return strGuide == QLatin1String("en") ? QStringLiteral("en_GB") : strGuide;
    }

    static QString guideText(const QString &strLanguage)
    {
        QString text;
        QString error;
        if (!GuideBook::markdown(QStringLiteral(TAV_GUIDE_DIR), strLanguage,
                                 QStringLiteral(TAV_LANGUAGE_TABLES), text, error))
            qWarning("%s", qPrintable(error));
        return text;
    }

    static ShortcutText names(const QString &strLanguage)
    {
        ShortcutText text;
        QString error;
        if (strLanguage != QLatin1String("en"))
            text.loadNames(QStringLiteral(TAV_LANGUAGE_TABLES "/%1.xml").arg(strLanguage), error);
        return text;
    }

    // Each chapter as written, before the keys are filled in.
    static QList<QPair<QString, QString>> chapters(const QString &strLanguage)
    {
        const QDir folder(QStringLiteral(TAV_GUIDE_DIR "/") + strLanguage);
        QList<QPair<QString, QString>> all;
        for (const QString &name : folder.entryList({ QStringLiteral("*.md") }, QDir::Files)) {
            QFile file(folder.filePath(name));
            if (file.open(QIODevice::ReadOnly))
                all.append(
                    { strLanguage + QLatin1Char('/') + name, QString::fromUtf8(file.readAll()) });
        }
        return all;
    }

    static QString pdfText(const QString &strPdf)
    {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"),
                        { QStringLiteral("-raw"), strPdf, QStringLiteral("-") });
        if (!pdftotext.waitForFinished(30000))
            return {};
        return QString::fromUtf8(pdftotext.readAllStandardOutput());
    }

    static QString withoutSpaces(QString text)
    {
        static const QRegularExpression space(QStringLiteral("\\s+"));
        return text.remove(space);
    }

private Q_SLOTS:
    void everyLanguageHasTheWholeKeysTable_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString &language : languages())
            QTest::newRow(qPrintable(language)) << language;
    }

    void everyLanguageHasTheWholeKeysTable()
    {
        QFETCH(QString, language);
        const QString text = guideText(language);
        QVERIFY(!text.isEmpty());
        const ShortcutText keys = names(language);
        for (const ShortcutTable::Row &row : ShortcutTable::rows()) {
            const QString line
                = QStringLiteral("| %1 | %2 | %3 |")
                      .arg(ShortcutText::keysOf(QLatin1String(row.entry)),
                           keys.name(QLatin1String(row.entry)), keys.name(QLatin1String(row.menu)));
            QVERIFY2(text.contains(line), qPrintable(language + QStringLiteral(": ") + line));
        }
        if (language != QLatin1String("en"))
            QVERIFY(keys.name(QStringLiteral("Save Document")) != QLatin1String("Save Document"));
    }

    // A key of the program written by hand would fall behind when the table
    // changes: the chapters name them through {{keys:ENTRY}}.
    void noChapterWritesAProgramKeyByHand()
    {
        QList<QKeySequence> programKeys;
        for (const ShortcutTable::Row &row : ShortcutTable::rows())
            programKeys += row.sequences();
        static const QRegularExpression chord(
            QStringLiteral("\\b(?:Ctrl|Alt|Shift)(?:\\+(?:Ctrl|Alt|Shift))*\\+(?:F\\d+|\\w)\\b"));
        QStringList written;
        for (const QString &language : languages()) {
            for (const auto &[name, text] : chapters(language)) {
                for (auto it = chord.globalMatch(text); it.hasNext();) {
                    const QString keys = it.next().captured(0);
                    if (programKeys.contains(QKeySequence(keys)))
                        written.append(name + QStringLiteral(": ") + keys);
                }
            }
        }
        QVERIFY2(written.isEmpty(), qPrintable(written.join(QStringLiteral(", "))));
    }

    // "**Menu > Entry**" in a chapter is an entry of that menu in the
    // program, in the chapter's language.
    void menuPathsAreTheProgramsMenus()
    {
        TestEnvironment env;
        MainWindow window;
        static const QRegularExpression path(QStringLiteral("\\*\\*([^*>]+?) > ([^*]+?)\\*\\*"));
        static const QRegularExpression space(QStringLiteral("\\s+"));
        QStringList unknown;
        int checked = 0;
        for (const QString &language : languages()) {
            AppState::instance().language = programLanguage(language);
            window.menu()->slot_UpdateLang();
            QSet<QString> entries;
            QSet<QString> titles;
            for (QMenu *menu : window.menu()->menus()) {
                titles.insert(menu->title());
                for (QAction *action : menu->actions())
                    entries.insert(menu->title() + QStringLiteral(" > ") + action->text());
            }
            for (const auto &[name, text] : chapters(language)) {
                for (auto it = path.globalMatch(text); it.hasNext();) {
                    const QRegularExpressionMatch match = it.next();
                    const QString title = match.captured(1).replace(space, QStringLiteral(" "));
                    if (!titles.contains(title))
                        continue;
                    const QString entry = title + QStringLiteral(" > ")
                        + match.captured(2).replace(space, QStringLiteral(" "));
                    ++checked;
                    if (!entries.contains(entry))
                        unknown.append(name + QStringLiteral(": ") + entry);
                }
            }
        }
        QVERIFY2(unknown.isEmpty(), qPrintable(unknown.join(QStringLiteral(", "))));
        QVERIFY(checked > 30);
    }

    // The printed guides hold the keys table as text, in Chinese characters
    // where the guide is Chinese (not boxes), and have their pages.
    void printedGuidesHoldTheirKeys_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("pdf");
        QTest::addColumn<QString>("title");
        QTest::newRow("en") << QStringLiteral("en") << QStringLiteral("help.pdf")
                            << QStringLiteral("Tavelmark user guide");
        QTest::newRow("zh_CN") << QStringLiteral("zh_CN") << QStringLiteral("help_zh_CN.pdf")
                               << QStringLiteral("Tavelmark 用户指南");
        QTest::newRow("zh_TW") << QStringLiteral("zh_TW") << QStringLiteral("help_zh_TW.pdf")
                               << QStringLiteral("Tavelmark 使用指南");
    }

    void printedGuidesHoldTheirKeys()
    {
        QFETCH(QString, language);
        QFETCH(QString, pdf);
        QFETCH(QString, title);
        const QString text = pdfText(QStringLiteral(TAV_GUIDE_PDF_DIR "/") + pdf);
        QVERIFY2(text.startsWith(title), qPrintable(text.left(80)));
        QVERIFY2(text.count(QLatin1Char('\f')) >= 15, "fewer than 15 pages");
        // Markdown the printer did not understand shows as written.
        QVERIFY(!text.contains(QLatin1String("**")) && !text.contains(QLatin1String("{{")));
        const QString compact = withoutSpaces(text);
        const ShortcutText keys = names(language);
        for (const ShortcutTable::Row &row : ShortcutTable::rows()) {
            const QString cells = withoutSpaces(ShortcutText::keysOf(QLatin1String(row.entry))
                                                + keys.name(QLatin1String(row.entry))
                                                + keys.name(QLatin1String(row.menu)));
            QVERIFY2(compact.contains(cells), qPrintable(pdf + QStringLiteral(": ") + cells));
        }
    }
};

QTEST_MAIN(TestGuideKeys)
#include "test_guidekeys.moc"
