#include "app/appstate.h"
#include "dialogs/hotkeylineedit.h"
#include "dialogs/hotkeywidget.h"
#include "dialogs/preferencesdlg.h"
#include "testenvironment.h"

#include <QProcess>
#include <QtTest>

// Real key presses from the X server reach the editor as the characters they
// produce; the recorded codes must still name the keys themselves.
class TestHotKeyCaptureX11 : public QObject
{
    Q_OBJECT

    static bool type(const char *keys)
    {
        return QProcess::execute(QStringLiteral("xdotool"),
                                 { QStringLiteral("key"), QLatin1String(keys) })
            == 0;
    }

private Q_SLOTS:
    void typedCombinationsRecordTheirKeys()
    {
        TestEnvironment environment;
        PreferencesDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        HotKeyLineEdit *field = dialog.hotKeyWidget(0)->lineEdit();
        field->setFocus();
        QTRY_VERIFY(field->hasFocus());

        const struct
        {
            const char *keys;
            HotKeyRecord record;
            const char *text;
        } cases[] = {
            { "ctrl+shift+F5", { true, true, true, false, false, 0x74 }, "Ctrl+Shift+F5" },
            { "alt+shift+1", { true, false, true, true, false, '1' }, "Shift+Alt+1" },
            { "ctrl+alt+p", { true, true, false, true, false, 'P' }, "Ctrl+Alt+P" },
            { "ctrl+shift+slash", { true, true, true, false, false, 0xBF }, "Ctrl+Shift+/" },
            { "super+Home", { true, false, false, false, true, 0x24 }, "Win+Home" },
        };
        for (const auto &c : cases) {
            QVERIFY(type(c.keys));
            QTRY_COMPARE(field->text(), QLatin1String(c.text));
            QCOMPARE(dialog.hotKey(0), c.record);
        }
    }
};

QTEST_MAIN(TestHotKeyCaptureX11)
#include "test_hotkeycapture_x11.moc"
