#include "app/appstate.h"
#include "dialogs/hotkeybtn.h"
#include "dialogs/hotkeylineedit.h"
#include "dialogs/hotkeywidget.h"
#include "dialogs/preferencesdlg.h"
#include "dialogs/virtualkeytable.h"
#include "platform/virtualkeys.h"
#include "testenvironment.h"
#include "widgets/messageboxdialog.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <tuple>

namespace {

QString writeTable(const QTemporaryDir &dir, const QByteArray &content)
{
    const QString path = dir.filePath(QStringLiteral("virtualkey.txt"));
    return writeFile(path, content) ? path : QString();
}

} // namespace

class TestHotKeyEditing : public QObject
{
    Q_OBJECT

    TestEnvironment *environment = nullptr;

    static HotKeyLineEdit *edit(const PreferencesDlg &dialog, int i)
    {
        return dialog.hotKeyWidget(i)->lineEdit();
    }

private Q_SLOTS:
    void init() { environment = new TestEnvironment; }
    void cleanup() { delete environment; }

    // Every key offered can be grabbed on X11 and typed on a keyboard, and
    // the modifiers themselves are not offered.
    void tableMatchesTheKeyTranslation()
    {
        const VirtualKeyTable table;
        QVERIFY2(table.problem().isEmpty(), qPrintable(table.problem()));
        QCOMPARE(table.text(0x50), QStringLiteral("P"));
        QCOMPARE(table.text(0xBC), QStringLiteral(","));
        QCOMPARE(table.text(0x74), QStringLiteral("F5"));
        for (int modifier : { 0x10, 0x11, 0x12, 0x5B, 0x5C, 0xA0, 0xA5 })
            QVERIFY(!table.contains(modifier));
        QSet<int> typeable;
        for (const auto &[first, last] :
             { qMakePair(0x20, 0xff), qMakePair(0x01000000, 0x010001ff),
               qMakePair(0x01010000, 0x01010010), qMakePair(0x01020000, 0x01020010) })
            for (int key = first; key <= last; ++key)
                for (auto modifiers : { Qt::NoModifier, Qt::KeypadModifier, Qt::ShiftModifier })
                    typeable.insert(VirtualKeys::fromQtKey(key, modifiers));
        for (int code : table.codes()) {
            const QString hex = QString::number(code, 16);
            QVERIFY2(VirtualKeys::toKeySym(code) != 0, qPrintable(hex));
            QVERIFY2(typeable.contains(code), qPrintable(hex));
        }
    }

    // Keys reached with Shift go back to their key; the number pad has its
    // own codes.
    void qtKeysTranslate()
    {
        const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_F5, Qt::ControlModifier | shift), 0x74);
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_Exclam, shift), int('1'));
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_Plus, shift), 0xBB);
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_Plus, Qt::KeypadModifier), 0x6B);
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_5, Qt::KeypadModifier), 0x65);
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_Less, shift), 0xBC);
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_Less, Qt::NoModifier), 0xE2);
        QCOMPARE(VirtualKeys::fromQtKey(Qt::Key_unknown, Qt::NoModifier), 0);
    }

    // Typed combinations become records and texts; modifiers alone change
    // nothing, a key the table lacks leaves the prefix and no usable key.
    void editorCapturesCombinations()
    {
        PreferencesDlg dialog;
        dialog.show();
        HotKeyLineEdit *field = edit(dialog, 1);
        QTest::keyClick(field, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialog.hotKey(1), HotKeyRecord({ true, true, true, false, false, 0x74 }));
        QCOMPARE(field->text(), QStringLiteral("Ctrl+Shift+F5"));

        QTest::keyClick(field, Qt::Key_Control, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Super_L, Qt::MetaModifier);
        QCOMPARE(dialog.hotKey(1), HotKeyRecord({ true, true, true, false, false, 0x74 }));
        QCOMPARE(field->text(), QStringLiteral("Ctrl+Shift+F5"));

        QTest::keyClick(field, Qt::Key_P, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(field->text(), QStringLiteral("Ctrl+Alt+P"));
        QTest::keyClick(field, Qt::Key_Comma, Qt::MetaModifier);
        QCOMPARE(field->text(), QStringLiteral("Win+,"));

        QTest::keyClick(field, Qt::Key_Shift, Qt::ShiftModifier);
        QTest::keyClick(field, Qt::Key_CapsLock, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(field->text(), QStringLiteral("Win+,"));
        QTest::keyClick(field, Qt::Key_Eacute, Qt::ControlModifier | Qt::AltModifier);
        QCOMPARE(field->text(), QStringLiteral("Ctrl+Alt+"));
        QVERIFY(!dialog.hotKey(1).enabled);
    }

    // Return, Enter, Escape, Tab and Backspace alone drive the dialog and
    // never become a hotkey.
    void dialogKeysAreNeverRecorded()
    {
        AppState &s = AppState::instance();
        s.hotKeys[1] = HotKeyRecord({ true, true, false, false, false, 'A' });
        const HotKeyRecord typed({ true, true, true, false, false, 0x74 });
        {
            PreferencesDlg dialog;
            dialog.show();
            HotKeyLineEdit *field = edit(dialog, 1);
            field->setFocus();
            QTest::keyClick(field, Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier);
            QTest::keyClick(field, Qt::Key_Return);
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(s.hotKeys[1], typed);
        }
        {
            PreferencesDlg dialog;
            dialog.show();
            QTest::keyClick(edit(dialog, 1), Qt::Key_Enter, Qt::KeypadModifier);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(s.hotKeys[1], typed);
        }

        // Escape takes back what was typed, then cancels the dialog.
        PreferencesDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        HotKeyLineEdit *field = edit(dialog, 1);
        QTest::keyClick(field, Qt::Key_P, Qt::AltModifier);
        QCOMPARE(field->text(), QStringLiteral("Alt+P"));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(dialog.isVisible());
        QCOMPARE(field->text(), QStringLiteral("Ctrl+Shift+F5"));
        QCOMPARE(dialog.hotKey(1), typed);

        // Backspace clears; Tab moves on.
        QTest::keyClick(field, Qt::Key_Backspace);
        QVERIFY(field->text().isEmpty());
        QCOMPARE(dialog.hotKey(1), HotKeyRecord());
        edit(dialog, 2)->setFocus();
        QTest::keyClick(edit(dialog, 2), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), edit(dialog, 3));
        QVERIFY(edit(dialog, 2)->text().isEmpty());

        QTest::keyClick(field, Qt::Key_Escape);
        QCOMPARE(field->text(), QStringLiteral("Ctrl+Shift+F5"));
        QTest::keyClick(field, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(s.hotKeys[1], typed);
        QVERIFY(!s.hotKeys[2].enabled);
    }

    // A key other programs type with is taken only when the user says so;
    // function keys and combinations with Ctrl, Alt or Win are not asked about.
    void typingKeysAreAskedAbout()
    {
        PreferencesDlg dialog;
        dialog.show();
        HotKeyLineEdit *field = edit(dialog, 0);
        const auto answer = [&dialog](QMessageBox::StandardButton button) {
            MessageBoxDialog *question = nullptr;
            QTRY_VERIFY((question = dialog.findChild<MessageBoxDialog *>()));
            QVERIFY(question->text().contains(QStringLiteral("would no longer reach")));
            question->button(button)->click();
            QTRY_VERIFY(!dialog.findChild<MessageBoxDialog *>());
        };
        QTest::keyClick(field, Qt::Key_K);
        answer(QMessageBox::Cancel);
        QVERIFY(field->text().isEmpty());
        QCOMPARE(dialog.hotKey(0), HotKeyRecord());

        QTest::keyClick(field, Qt::Key_Home, Qt::ShiftModifier);
        answer(QMessageBox::Ok);
        QCOMPARE(field->text(), QStringLiteral("Shift+Home"));
        QCOMPARE(dialog.hotKey(0), HotKeyRecord({ true, false, true, false, false, 0x24 }));

        for (const auto &[key, modifiers, text] :
             { std::make_tuple(Qt::Key_F9, Qt::KeyboardModifiers(), "F9"),
               std::make_tuple(Qt::Key_Space, Qt::KeyboardModifiers(Qt::ControlModifier),
                               "Ctrl+Space"),
               std::make_tuple(Qt::Key_Return, Qt::KeyboardModifiers(Qt::AltModifier),
                               "Alt+Enter") }) {
            QTest::keyClick(field, key, modifiers);
            QVERIFY(!dialog.findChild<MessageBoxDialog *>());
            QCOMPARE(field->text(), QLatin1String(text));
        }
        // A key the table does not offer makes no hotkey to ask about.
        QTest::keyClick(field, Qt::Key_Eacute);
        QVERIFY(!dialog.findChild<MessageBoxDialog *>());
        QVERIFY(!dialog.hotKey(0).enabled);
    }

    // The clear button empties the field so that the placeholder shows. The
    // edits become the hotkeys only when the dialog is accepted: Cancel
    // leaves them as they were.
    void cancelKeepsTheHotKeys()
    {
        AppState &s = AppState::instance();
        const HotKeyRecord first({ true, true, false, false, false, 'A' });
        const HotKeyRecord third({ true, false, false, true, false, 0x70 });
        s.hotKeys[0] = first;
        s.hotKeys[2] = third;
        for (const bool accept : { false, true }) {
            PreferencesDlg dialog;
            dialog.show();
            QCOMPARE(edit(dialog, 0)->text(), QStringLiteral("Ctrl+A"));
            QCOMPARE(edit(dialog, 2)->text(), QStringLiteral("Alt+F1"));
            HotKeyBtn *clear = dialog.hotKeyWidget(0)->button();
            QTest::mouseClick(clear, Qt::LeftButton);
            QVERIFY(edit(dialog, 0)->text().isEmpty());
            QCOMPARE(edit(dialog, 0)->placeholderText(), QStringLiteral("Type Hotkeys"));
            QTest::keyClick(edit(dialog, 2), Qt::Key_N, Qt::ControlModifier);
            QCOMPARE(s.hotKeys[0], first);
            QCOMPARE(s.hotKeys[2], third);
            accept ? dialog.accept() : dialog.reject();
        }
        QCOMPARE(s.hotKeys[0], HotKeyRecord());
        QCOMPARE(s.hotKeys[2], HotKeyRecord({ true, true, false, false, false, 'N' }));
    }

    // Bad lines are skipped and the rest is used; a table that cannot be read
    // disables the editors with a message and keeps the records as they are.
    void damagedTables()
    {
        QTemporaryDir dir;
        const QString path = writeTable(dir,
                                        "; comment\n"
                                        "VK_X,zz,Bad\n"
                                        "only,two\n"
                                        ",0x50,P\n"
                                        ",0x50,Again\n"
                                        "VK_OEM_COMMA,0xBC,,\r\n"
                                        ",0x100,Big\n"
                                        "VK_F5,74,F5\n"
                                        ",0x51,\n");
        const VirtualKeyTable table(path);
        QCOMPARE(table.codes(), QList<int>({ 0x50, 0xBC, 0x74 }));
        QCOMPARE(table.texts(), QStringList({ "P", ",", "F5" }));
        QVERIFY(table.problem().contains(QStringLiteral("2, 3, 5, 7, 9")));

        PreferencesDlg usable(nullptr, path);
        usable.show();
        QTest::keyClick(edit(usable, 3), Qt::Key_Q, Qt::ControlModifier);
        QCOMPARE(edit(usable, 3)->text(), QStringLiteral("Ctrl+"));
        QTest::keyClick(edit(usable, 3), Qt::Key_F5, Qt::ShiftModifier);
        QCOMPARE(edit(usable, 3)->text(), QStringLiteral("Shift+F5"));

        AppState::instance().hotKeys[1] = HotKeyRecord({ true, true, false, false, false, 0x74 });
        const QString junk = writeTable(dir, QByteArray("\x00\xff\xfe,,,\n\x01", 9));
        for (const QString &bad : { dir.filePath(QStringLiteral("missing.txt")), junk }) {
            const VirtualKeyTable badTable(bad);
            QVERIFY(badTable.isEmpty());
            QVERIFY(!badTable.problem().isEmpty());
            PreferencesDlg dialog(nullptr, bad);
            dialog.show();
            QVERIFY(!dialog.hotKeyWidget(0)->isEnabled());
            QVERIFY(dialog.findChild<QLabel *>(QStringLiteral("keyTableProblem"))->isVisible());
            QCOMPARE(edit(dialog, 1)->text(), QStringLiteral("Ctrl+0x74"));
            dialog.accept();
            QCOMPARE(AppState::instance().hotKeys[1],
                     HotKeyRecord({ true, true, false, false, false, 0x74 }));
        }
    }
};

QTEST_MAIN(TestHotKeyEditing)
#include "test_hotkeyediting.moc"
