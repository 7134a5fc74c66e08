#include "app/appstate.h"
#include "app/settingsstore.h"
#include "dialogs/aboutdlg.h"
#include "dialogs/hotkeylineedit.h"
#include "dialogs/hotkeywidget.h"
#include "dialogs/preferencesdlg.h"
#include "modalanswerer.h"
#include "testenvironment.h"
#include "widgets/filedialogguard.h"
#include "widgets/iconwidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>

namespace {

// A "UserInterface" value as the settings store reads it (a value with
// commas may come back as a list).
QString fileValue(const QString &strKey, const QString &strFile = AppState::instance().iniPath)
{
    QSettings settings(strFile, QSettings::IniFormat);
    const QVariant value = settings.value(QStringLiteral("UserInterface/") + strKey);
    return value.metaType().id() == QMetaType::QStringList
        ? value.toStringList().join(QLatin1Char(','))
        : value.toString();
}

template<typename T>
T *control(const QWidget &dialog, const char *name)
{
    return dialog.findChild<T *>(QLatin1String(name));
}

QAction *menuAction(const PreferencesDlg &dialog, int index)
{
    return dialog.findChild<QPushButton *>(QStringLiteral("defaultBtn"))
        ->menu()
        ->actions()
        .at(index);
}

// Answers its file questions with `answer` (empty: cancelled).
class AnsweredPreferencesDlg : public PreferencesDlg
{
public:
    AnsweredPreferencesDlg() { show(); }
    QString answer;
    int fileDialogs = 0;

    // Runs entry `index` of the default menu (1 import, 2 export) answering
    // `file`; returns the messages it showed.
    QStringList run(int index, const QString &file)
    {
        answer = file;
        fileDialogs = 0;
        ModalAnswerer answerer;
        menuAction(*this, index)->trigger();
        return answerer.texts;
    }

protected:
    // Counts only dialogs marked open, as every file dialog must be.
    QString askFileName(bool, const QString &, const QString &) override
    {
        fileDialogs += FileDialogGuard::isOpen() ? 1 : 0;
        return answer;
    }
};

} // namespace

class TestPreferences : public QObject
{
    Q_OBJECT

    TestEnvironment *environment = nullptr;

private Q_SLOTS:
    void init()
    {
        environment = new TestEnvironment;
        SettingsStore::locate();
    }
    void cleanup() { delete environment; }

    // The four restart settings go into the file and leave the running
    // values alone; the next dialog shows what the file now holds.
    void restartSettingsAreWrittenToTheFile()
    {
        const AppState &s = AppState::instance();
        {
            PreferencesDlg dialog;
            dialog.show();
            QTest::mouseClick(control<QCheckBox>(dialog, "trayIconBox"), Qt::LeftButton);
            QTest::mouseClick(control<QCheckBox>(dialog, "touchBox"), Qt::LeftButton);
            QTest::mouseClick(control<QCheckBox>(dialog, "penBox"), Qt::LeftButton);
            control<QComboBox>(dialog, "fontBox")->setCurrentText(QStringLiteral("Segoe UI"));
            dialog.reject();
        }
        QCOMPARE(fileValue(QStringLiteral("ShowTrayIcon")), QStringLiteral("0"));
        QCOMPARE(fileValue(QStringLiteral("EnableTouchUI")), QStringLiteral("1"));
        QCOMPARE(fileValue(QStringLiteral("SupportPenAndTouch")), QStringLiteral("1"));
        QCOMPARE(fileValue(QStringLiteral("UIFont")), QStringLiteral("Segoe UI"));
        QVERIFY(s.showTrayIcon && !s.enableTouchUI && !s.supportPenAndTouch);
        QCOMPARE(s.uiFont, QStringLiteral("Arial"));

        PreferencesDlg again;
        QVERIFY(!control<QCheckBox>(again, "trayIconBox")->isChecked());
        QVERIFY(control<QCheckBox>(again, "touchBox")->isChecked());
        QCOMPARE(control<QComboBox>(again, "fontBox")->currentText(), QStringLiteral("Segoe UI"));
    }

    // Toolbar size, opacity and the capture delay apply at once and stay
    // after Cancel; the delay shows seconds and steps by a tenth.
    void otherSettingsApplyAtOnce()
    {
        AppState &s = AppState::instance();
        PreferencesDlg dialog;
        QSignalSpy opacity(&dialog, &PreferencesDlg::signal_ChangeToolbarOpacity);
        QSignalSpy size(&dialog, &PreferencesDlg::signal_ChangeToolbarSize);
        dialog.show();
        control<QComboBox>(dialog, "opacityBox")->setCurrentText(QStringLiteral("40"));
        control<QComboBox>(dialog, "sizeBox")->setCurrentIndex(2);
        auto *delay = control<QSpinBox>(dialog, "delayBox");
        QCOMPARE(delay->text(), QStringLiteral("0.5  seconds"));
        delay->setFocus();
        QTest::keyClick(delay, Qt::Key_Up);
        QCOMPARE(delay->text(), QStringLiteral("0.6  seconds"));
        dialog.reject();
        QCOMPARE(opacity.count(), 1);
        QCOMPARE(opacity.at(0).at(0).toInt(), 40);
        QCOMPARE(size.count(), 1);
        QCOMPARE(size.at(0).at(0).toInt(), 4);
        QCOMPARE(s.toolWidgetOpacity, 40);
        QCOMPARE(s.toolWidgetUISize, 4);
        QCOMPARE(s.captureDelay, 600);
        QVERIFY(fileValue(QStringLiteral("ToolWidgetOpacity")).isEmpty());
    }

    // High contrast and the two larger toolbar steps apply at once, are saved
    // at quit, and Default turns them back.
    void lookAndLargerToolbar()
    {
        AppState &s = AppState::instance();
        PreferencesDlg dialog;
        QSignalSpy look(&dialog, &PreferencesDlg::signal_ChangeLook);
        QSignalSpy size(&dialog, &PreferencesDlg::signal_ChangeToolbarSize);
        auto *sizes = control<QComboBox>(dialog, "sizeBox");
        QCOMPARE(sizes->count(), 5);
        sizes->setCurrentIndex(4);
        QCOMPARE(size.at(0).at(0).toInt(), 8);
        control<QCheckBox>(dialog, "highContrastBox")->setChecked(true);
        QCOMPARE(look.count(), 1);
        QVERIFY(s.highContrast);
        QCOMPARE(s.toolWidgetUISize, 8);
        SettingsStore::save();
        QCOMPARE(fileValue(QStringLiteral("HighContrast")), QStringLiteral("1"));
        QCOMPARE(fileValue(QStringLiteral("ToolWidgetUISize")), QStringLiteral("8"));

        PreferencesDlg reopened;
        QCOMPARE(control<QComboBox>(reopened, "sizeBox")->currentIndex(), 4);
        QVERIFY(control<QCheckBox>(reopened, "highContrastBox")->isChecked());
        QSignalSpy lookAgain(&reopened, &PreferencesDlg::signal_ChangeLook);
        reopened.slot_Default();
        QVERIFY(!s.highContrast);
        QCOMPARE(s.toolWidgetUISize, 0);
        QCOMPARE(lookAgain.count(), 1);
    }

    void defaultResetsEverything()
    {
        AppState &s = AppState::instance();
        s.toolWidgetOpacity = 40;
        s.toolWidgetUISize = 4;
        s.captureDelay = 2000;
        s.alertTrayIcon = false;
        s.rgb2[0] = Qt::cyan;
        s.hotKeys[3] = { true, true, false, false, false, 'B' };
        SettingsStore::writeNow(QStringLiteral("ShowTrayIcon"), QStringLiteral("0"));
        SettingsStore::writeNow(QStringLiteral("EnableTouchUI"), QStringLiteral("1"));
        SettingsStore::writeNow(QStringLiteral("UIFont"), QStringLiteral("Segoe UI"));

        PreferencesDlg dialog;
        QSignalSpy opacity(&dialog, &PreferencesDlg::signal_ChangeToolbarOpacity);
        QSignalSpy size(&dialog, &PreferencesDlg::signal_ChangeToolbarSize);
        dialog.show();
        menuAction(dialog, 0)->trigger();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(opacity.takeLast().at(0).toInt(), 100);
        QCOMPARE(size.takeLast().at(0).toInt(), 0);
        QCOMPARE(s.toolWidgetOpacity, 100);
        QCOMPARE(s.toolWidgetUISize, 0);
        QCOMPARE(s.captureDelay, 500);
        QVERIFY(s.alertTrayIcon);
        QCOMPARE(s.rgb2, AppState::defaultRgb2());
        QCOMPARE(s.hotKeys[3], HotKeyRecord());
        QCOMPARE(fileValue(QStringLiteral("ShowTrayIcon")), QStringLiteral("1"));
        QCOMPARE(fileValue(QStringLiteral("EnableTouchUI")), QStringLiteral("0"));
        QCOMPARE(fileValue(QStringLiteral("UIFont")), QStringLiteral("Arial"));
    }

    // An export holds the settings, hotkeys edited in the dialog among them;
    // importing that file makes it the one the next start reads.
    void exportImportRoundTrip()
    {
        AppState &s = AppState::instance();
        s.toolWidgetOpacity = 40;
        const QString exported = environment->path(QStringLiteral("saved.ini"));
        {
            AnsweredPreferencesDlg dialog;
            QTest::keyClick(dialog.hotKeyWidget(0)->lineEdit(), Qt::Key_F5,
                            Qt::ControlModifier | Qt::ShiftModifier);
            QCOMPARE(dialog.run(2, exported), QStringList());
            QCOMPARE(dialog.fileDialogs, 1);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        QCOMPARE(fileValue(QStringLiteral("HotKey1"), exported), QStringLiteral("1,1,1,0,0,116"));
        QCOMPARE(fileValue(QStringLiteral("ToolWidgetOpacity"), exported), QStringLiteral("40"));

        s.toolWidgetOpacity = 70;
        s.hotKeys[0] = {};
        QVERIFY(SettingsStore::save());
        {
            AnsweredPreferencesDlg dialog;
            QCOMPARE(dialog.run(1, exported), QStringList());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
        }
        // The next start takes it (the settings store test follows it there).
        QVERIFY(s.importPending);
        QCOMPARE(readFile(s.bakPath), readFile(exported));
    }

    // Failed writes and refused files are told, never passed off as done.
    void failuresAreReported()
    {
        AppState &s = AppState::instance();
        const QString notSettings = environment->path(QStringLiteral("picture.ini"));
        QVERIFY(writeFile(notSettings, QByteArray("\x89PNG\r\n\x1a\n\0\0", 10)));
        const QByteArray backup = readFile(s.bakPath);
        QCOMPARE(AnsweredPreferencesDlg().run(1, notSettings),
                 QStringList({ "The file is not a settings file.\n" + notSettings }));
        QVERIFY(!s.importPending);
        QCOMPARE(readFile(s.bakPath), backup);

        // A file where the settings folder should be makes every write fail.
        const QString blocker = environment->path(QStringLiteral("blocker"));
        QVERIFY(writeFile(blocker, "x"));
        s.iniPath = blocker + QStringLiteral("/Setting.ini");
        s.bakPath = s.iniPath + QStringLiteral(".bak");
        AnsweredPreferencesDlg dialog;
        {
            ModalAnswerer answerer;
            auto *tray = control<QCheckBox>(dialog, "trayIconBox");
            QTest::mouseClick(tray, Qt::LeftButton);
            QCOMPARE(answerer.texts,
                     QStringList({ "The settings file cannot be written.\n" + s.iniPath }));
            QVERIFY(tray->isChecked());
            QCOMPARE(dialog.fileDialogs, 0);
        }
        const QString target = environment->path(QStringLiteral("out.ini"));
        QCOMPARE(dialog.run(2, target),
                 QStringList({ "The settings cannot be exported.\n" + target }));
        QVERIFY(!QFile::exists(target));
        const QString good = environment->path(QStringLiteral("good.ini"));
        QVERIFY(writeFile(good, "[UserInterface]\nLanguage=en_GB\n"));
        QCOMPARE(dialog.run(1, good), QStringList({ "The settings cannot be imported.\n" + good }));
        QVERIFY(!s.importPending);
        // A cancelled file dialog is no failure.
        QCOMPARE(dialog.run(2, QString()), QStringList());
        QCOMPARE(dialog.fileDialogs, 1);
        QVERIFY(!FileDialogGuard::isOpen());
    }

    void aboutShowsPictureAndVersion()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("3.1.4"));
        AboutDlg dialog;
        dialog.show();
        QVERIFY(dialog.versionLabel()->text().contains(QStringLiteral("3.1.4")));
        const QImage shown = dialog.icon()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        const QImage picture = QImage(QStringLiteral(":/Res/Tavelmark"))
                                   .scaled(shown.size())
                                   .convertToFormat(QImage::Format_ARGB32);
        int opaque = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                if (qAlpha(picture.pixel(x, y)) == 255) {
                    ++opaque;
                    QCOMPARE(shown.pixel(x, y), picture.pixel(x, y));
                }
        QVERIFY(opaque > picture.width() * picture.height() / 4);
    }
};

QTEST_MAIN(TestPreferences)
#include "test_preferences.moc"
