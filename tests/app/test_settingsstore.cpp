#include "app/appstate.h"
#include "app/settingentry.h"
#include "app/settingsstore.h"
#include "testenvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QtTest>

#include <memory>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestEnvironment> env;

    void writeIni(const QByteArray &content)
    {
        QDir().mkpath(env->dataFolder());
        QVERIFY(writeFile(env->dataFolder() + QStringLiteral("/Setting.ini"), content));
    }

    // What a new start of the program does with the settings.
    void restart()
    {
        AppState::reset();
        SettingsStore::locate();
        SettingsStore::load(96);
    }

    QString iniValue(const QString &strKey)
    {
        QSettings ini(env->dataFolder() + QStringLiteral("/Setting.ini"), QSettings::IniFormat);
        return ini.value(strKey).toString();
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void firstStartCreatesFoldersAndEmptyFile()
    {
        const QString data = env->dataFolder();
        QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("Create: ") + data));
        QTest::ignoreMessage(
            QtDebugMsg, qPrintable(QStringLiteral("Create: ") + data + QStringLiteral("/temp/")));
        QTest::ignoreMessage(QtDebugMsg,
                             qPrintable(QStringLiteral("Create null INI: ") + data
                                        + QStringLiteral("/Setting.ini")));
        SettingsStore::locate();

        const AppState &s = AppState::instance();
        QCOMPARE(s.dataFolder, data);
        QCOMPARE(s.tempFolder, data + QStringLiteral("/temp/"));
        QCOMPARE(QFileInfo(s.iniPath).size(), 0);
        QVERIFY(!QFile::exists(s.bakPath));
        // The temporary folder holds pictures of the desktop: owner only.
        const QFileDevice::Permissions permissions = QFileInfo(s.tempFolder).permissions();
        QVERIFY(permissions.testFlags(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QCOMPARE(int(permissions & 0x0077), 0);
    }

    void roundTripKeepsEveryValue()
    {
        restart();
        AppState &s = AppState::instance();
        s.captureDelay = 1200;
        s.toolWidgetOpacity = 70;
        s.barPosX = 15;
        s.barPosY = -20;
        s.minimize = true;
        s.hotKeys[1] = HotKeyRecord::fromString(QStringLiteral("1,1,0,1,0,65"));
        s.rgb[3] = QColor(1, 2, 3);
        s.rgb2[8] = QColor(4, 5, 6);
        s.draw.penColor = QColor(10, 20, 30);
        s.draw.shapeFillColor = QColor(200, 100, 50);
        s.draw.textFontFamily = QStringLiteral("Liberation Serif");
        s.draw.textAlign = Qt::AlignHCenter;
        s.ruler.vertical = true;
        s.ruler.dpi = 300;
        QVERIFY(SettingsStore::save());
        const AppState saved = s;

        restart();
        const AppState &r = AppState::instance();
        for (const SettingEntry &entry : SettingEntry::table()) {
            if (entry.savedAtQuit)
                QCOMPARE(entry.write(r), entry.write(saved));
        }
        QCOMPARE(r.hotKeys[1].virtualKey, 65);
        QVERIFY(r.hotKeys[1].alt && !r.hotKeys[1].shift);
        QCOMPARE(iniValue(QStringLiteral("Draw/ShapeFillColor")), QStringLiteral("#c86432"));
    }

    void restartOnlyKeysAreNotWrittenAtQuit()
    {
        writeIni("[UserInterface]\nLanguage=en_GB\nShowTrayIcon=0\nUIFont=Arial\n");
        restart();
        AppState::instance().showTrayIcon = true;
        AppState::instance().uiFont = QStringLiteral("System Default");
        QVERIFY(SettingsStore::save());
        QCOMPARE(iniValue(QStringLiteral("UserInterface/ShowTrayIcon")), QStringLiteral("0"));
        QCOMPARE(iniValue(QStringLiteral("UserInterface/UIFont")), QStringLiteral("Arial"));
    }

    void outOfRangeValuesAreClamped()
    {
        writeIni("[UserInterface]\nLanguage=en_GB\nToolWidgetUISize=9999\nToolWidgetOpacity=0\n"
                 "CaptureDelay=-3\nBarPosX=99999999999\n"
                 "[Draw]\nPenWidth=-5\nHighlighterWidth=100000\nEraserWidth=7\nShapeWidth=1\n"
                 "TextFontSize=500\nShapeOpacity=-1\nShapeType=18\nLinePenStyle=0\n"
                 "LineEndType=9\nTextAlign=3\n"
                 "[Ruler]\nUnit=7\nDpi=0\nOpacity=55\n");
        restart();
        const AppState &s = AppState::instance();
        QCOMPARE(s.toolWidgetUISize, 8);
        QCOMPARE(s.toolWidgetOpacity, 10);
        QCOMPARE(s.captureDelay, 100);
        // Beyond int range does not parse: read as 0.
        QCOMPARE(s.barPosX, 0);
        QCOMPARE(s.draw.penWidth, 1);
        QCOMPARE(s.draw.highlighterWidth, 36);
        QCOMPARE(s.draw.eraserWidth, 30);
        QCOMPARE(s.draw.shapeWidth, 3);
        QCOMPARE(s.draw.textFontSize, 72);
        QCOMPARE(s.draw.shapeOpacity, 0);
        QCOMPARE(s.draw.shapeType, 17);
        QCOMPARE(s.draw.linePenStyle, 1);
        QCOMPARE(s.draw.lineEndType, 5);
        QCOMPARE(s.draw.textAlign, int(Qt::AlignLeft));
        QCOMPARE(s.ruler.unit, 4);
        QCOMPARE(s.ruler.dpi, 8);
        QCOMPARE(s.ruler.opacity, 60);
    }

    void malformedValuesReadSafely()
    {
        writeIni("[UserInterface]\nLanguage=en_GB\nCaptureDelay=soon\nShowTrayIcon=yes\n"
                 "HotKey2=1,1,0\nHotKey3=1,1,0,0,0,65\nHotKey4=1,0,0,0,0,70000\n"
                 "Rgb=#000000,#ffffff\nRgb2=#000000, #ffffff, #7f7f7f, #ed1c24, #ff7f27, "
                 "#fff200, #22b14c, #b5e61d, #123456\n"
                 "[Draw]\nPenColor=not-a-colour\nShapeFillColor=nonsense\nTextFontFamily=\n");
        restart();
        const AppState &s = AppState::instance();
        QCOMPARE(s.captureDelay, 100);
        QCOMPARE(s.showTrayIcon, false);
        QVERIFY(!s.hotKeys[1].enabled);
        QVERIFY(s.hotKeys[2].enabled && s.hotKeys[2].ctrl);
        QCOMPARE(s.hotKeys[2].virtualKey, 65);
        QVERIFY(!s.hotKeys[3].enabled);
        QCOMPARE(s.rgb, AppState::defaultRgb());
        // A hand-written list without quotes still reads as nine colours.
        QCOMPARE(s.rgb2.size(), 9);
        QCOMPARE(s.rgb2[8], QColor(0x12, 0x34, 0x56));
        QCOMPARE(s.draw.penColor, QColor(0, 0, 0));
        QCOMPARE(s.draw.shapeFillColor, QColor(Qt::transparent));
        QCOMPARE(s.draw.textFontFamily, QStringLiteral("Arial"));
    }

    void paletteWithWrongCountKeepsDefaults()
    {
        QStringList names;
        for (int i = 0; i < 17; ++i)
            names << QStringLiteral("#0000%1").arg(i, 2, 16, QLatin1Char('0'));
        writeIni("[UserInterface]\nLanguage=en_GB\nRgb=\"" + names.join(',').toLatin1() + "\"\n");
        restart();
        QCOMPARE(AppState::instance().rgb, AppState::defaultRgb());

        names << QStringLiteral("#abcdef");
        writeIni("[UserInterface]\nLanguage=en_GB\nRgb=\"" + names.join(',').toLatin1() + "\"\n");
        restart();
        QCOMPARE(AppState::instance().rgb.size(), 18);
        QCOMPARE(AppState::instance().rgb.last(), QColor(0xab, 0xcd, 0xef));
    }

    void emptyOrDamagedFileStartsWithDefaults()
    {
        for (const QByteArray &content :
             { QByteArray(), QByteArray(4096, '\0'),
               QByteArray("\xff\xfe[[[=\n\x01\x02garbage=\x80\n[Draw\nPenWidth") }) {
            writeIni(content);
            restart();
            QCOMPARE(AppState::instance().draw.penWidth, 3);
            QCOMPARE(AppState::instance().rgb, AppState::defaultRgb());
        }
        QVERIFY(SettingsStore::save());
    }

    // A complete, valid file refreshes the backup, which stands in when the
    // file later loses its language.
    void backupRestoresADamagedFile()
    {
        restart();
        AppState::instance().captureDelay = 900;
        QVERIFY(SettingsStore::save());
        restart();
        const QString bakPath = AppState::instance().bakPath;
        QVERIFY(readFile(bakPath).contains("CaptureDelay=900"));
        // A backup holding the same settings is not written again.
        QFile bak(bakPath);
        QVERIFY(bak.open(QIODevice::Append));
        bak.write("; kept\n");
        bak.close();
        restart();
        QVERIFY(readFile(bakPath).endsWith("; kept\n"));
        writeIni("[UserInterface]\nLanguage=\nCaptureDelay=2000\n");
        restart();
        QCOMPARE(AppState::instance().captureDelay, 900);
        QCOMPARE(iniValue(QStringLiteral("UserInterface/CaptureDelay")), QStringLiteral("900"));
    }

    void exportThenImportRestoresAfterRestart()
    {
        restart();
        AppState::instance().captureDelay = 1500;
        AppState::instance().draw.penWidth = 12;
        const QString exported = env->path(QStringLiteral("Tavelmark_export.ini"));
        QVERIFY(SettingsStore::exportTo(exported));
        QVERIFY(QFile::exists(exported));

        AppState::instance().captureDelay = 300;
        AppState::instance().draw.penWidth = 2;
        QVERIFY(SettingsStore::save());
        QVERIFY(SettingsStore::importFrom(exported));
        QVERIFY(AppState::instance().importPending);
        // The quit save marks the file so that the next start takes the backup.
        QVERIFY(SettingsStore::save());
        QCOMPARE(iniValue(QStringLiteral("UserInterface/Language")), QString());
        restart();
        QCOMPARE(AppState::instance().captureDelay, 1500);
        QCOMPARE(AppState::instance().draw.penWidth, 12);
        QCOMPARE(AppState::instance().language, QStringLiteral("en_GB"));
    }

    void failedExportAndImportReport()
    {
        restart();
        const QString notAFolder = env->path(QStringLiteral("plain-file"));
        QVERIFY(writeFile(notAFolder, QByteArray()));
        QVERIFY(!SettingsStore::exportTo(notAFolder + QStringLiteral("/out.ini")));
        QVERIFY(!SettingsStore::importFrom(env->path(QStringLiteral("missing.ini"))));
        QVERIFY(!AppState::instance().importPending);
    }

    // A data folder that cannot be created (its parent is a file: root cannot
    // write there either) leaves defaults and a save that reports failure.
    void unwritableDataFolderKeepsRunning()
    {
        QVERIFY(writeFile(env->dataHome(), QByteArray()));
        for (int i = 0; i < 3; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot .*")));
        restart();
        QCOMPARE(AppState::instance().draw.penWidth, 3);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^Cannot write .*")));
        QVERIFY(!SettingsStore::save());
    }

    void scaleFactorsFollowDpi()
    {
        SettingsStore::computeScaleFactors(192);
        AppState &s = AppState::instance();
        QCOMPARE(s.scaleFactor1, 0.5);
        QCOMPARE(s.scaleFactor2, 1.0);
        QCOMPARE(s.scaled(24), 48);
        s.enableTouchUI = true;
        SettingsStore::computeScaleFactors(96);
        QCOMPARE(s.scaled(25), 50);
        QVERIFY(s.wantsHighResPictures());
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
