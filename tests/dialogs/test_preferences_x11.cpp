#include "dialogs/hotkeylineedit.h"
#include "dialogs/hotkeywidget.h"
#include "dialogs/preferencesdlg.h"
#include "realprogram.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"
#include "widgets/menubtn.h"
#include "x11probe.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <memory>

// Another program's window: it notes the keys that reach it, beyond the
// modifiers pressed for them.
class KeyCatcher : public QWidget
{
public:
    QList<QKeyCombination> keys;

protected:
    void keyPressEvent(QKeyEvent *pEvent) override
    {
        switch (pEvent->key()) {
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Shift:
        case Qt::Key_Meta:
            break;
        default:
            keys.append(pEvent->keyCombination());
        }
    }
};

// Preferences in the real program under a window manager: a key pressed in
// a hotkey field as a user would confirm the dialog, and Cancel, must leave
// every other program its keys.
class TestPreferencesX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    // Where a widget's centre lies in its top-level window, laid out by the
    // program's own code.
    static QPoint offsetIn(const QWidget *widget)
    {
        return widget->mapTo(widget->window(), widget->rect().center());
    }

    static QPoint menuButtonOffset()
    {
        ToolWidget layout;
        layout.setAttribute(Qt::WA_DontShowOnScreen);
        layout.show();
        return offsetIn(layout.findChild<MenuBtn *>());
    }

    // Help ▸ Preferences... from the toolbar's menu button, by keys.
    static QRect openPreferences(const X11Probe &x11, const QString &toolbar)
    {
        RealProgram::click(x11.rootGeometry(toolbar.toUInt()).topLeft() + menuButtonOffset());
        for (const char *key : { "Up", "Right", "Up", "Up", "Return" })
            RealProgram::key(QLatin1String(key));
        QString found;
        const bool opened = QTest::qWaitFor(
            [&] {
                return !(found = RealProgram::findWindow(QStringLiteral("Preferences"))).isEmpty();
            },
            10000);
        return opened ? x11.rootGeometry(found.toUInt()) : QRect();
    }

    static bool preferencesClosed()
    {
        return QTest::qWaitFor(
            [] { return RealProgram::findWindow(QStringLiteral("Preferences")).isEmpty(); }, 10000);
    }

    static bool focus(KeyCatcher &catcher)
    {
        catcher.keys.clear();
        RealProgram::xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"),
                               QString::number(catcher.winId()) });
        return QTest::qWaitFor([&] { return catcher.isActiveWindow(); }, 10000);
    }

    // Keys typed to the catcher, given the focus as a user gives it.
    static QList<QKeyCombination> typeTo(KeyCatcher &catcher, const QString &strKeys)
    {
        if (!focus(catcher))
            return { QKeyCombination(Qt::Key_unknown) };
        RealProgram::key(strKeys);
        // A marker behind the keys: when it is in, so is everything before it.
        RealProgram::key(QStringLiteral("F12"));
        if (!QTest::qWaitFor([&] { return catcher.keys.contains(QKeyCombination(Qt::Key_F12)); },
                             10000))
            return { QKeyCombination(Qt::Key_unknown) };
        catcher.keys.removeAll(QKeyCombination(Qt::Key_F12));
        return catcher.keys;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void hotKeyFieldsLeaveOtherProgramsTheirKeys()
    {
        X11Probe x11;
        QPoint fieldOffset;
        QPoint cancelOffset;
        {
            PreferencesDlg layout;
            layout.setAttribute(Qt::WA_DontShowOnScreen);
            layout.show();
            fieldOffset = offsetIn(layout.hotKeyWidget(0)->lineEdit());
            cancelOffset = offsetIn(
                layout.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Cancel));
        }
        KeyCatcher catcher;
        catcher.setGeometry(900, 100, 300, 200);
        catcher.show();
        QVERIFY(QTest::qWaitForWindowExposed(&catcher));

        RealProgram program(*env);
        QVERIFY(program.start({}));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");

        // Return in a hotkey field confirms the dialog; it is no hotkey.
        QRect dialog = openPreferences(x11, toolbar);
        QVERIFY2(dialog.isValid(), "Preferences did not open");
        RealProgram::click(dialog.topLeft() + fieldOffset);
        RealProgram::key(QStringLiteral("Return"));
        QVERIFY2(preferencesClosed(), "Return in a hotkey field did not close Preferences");
        QCOMPARE(typeTo(catcher, QStringLiteral("Return")),
                 QList<QKeyCombination>({ QKeyCombination(Qt::Key_Return) }));

        // A combination typed and then cancelled is no hotkey either (one that
        // is no default hotkey: Ctrl+Alt+K focuses the toolbar).
        const QKeyCombination combination(Qt::ControlModifier | Qt::AltModifier, Qt::Key_J);
        dialog = openPreferences(x11, toolbar);
        QVERIFY2(dialog.isValid(), "Preferences did not open again");
        RealProgram::click(dialog.topLeft() + fieldOffset);
        RealProgram::key(QStringLiteral("ctrl+alt+j"));
        RealProgram::click(dialog.topLeft() + cancelOffset);
        QVERIFY(preferencesClosed());
        QCOMPARE(typeTo(catcher, QStringLiteral("ctrl+alt+j")),
                 QList<QKeyCombination>({ combination }));

        // Accepted with Return, it is the program's from then on: it makes a
        // new page, and no other program sees it.
        dialog = openPreferences(x11, toolbar);
        QVERIFY2(dialog.isValid(), "Preferences did not open a third time");
        RealProgram::click(dialog.topLeft() + fieldOffset);
        RealProgram::key(QStringLiteral("ctrl+alt+j"));
        RealProgram::key(QStringLiteral("Return"));
        QVERIFY(preferencesClosed());
        QVERIFY(focus(catcher));
        RealProgram::key(QStringLiteral("ctrl+alt+j"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 10000);
        QVERIFY(!catcher.keys.contains(combination));
    }
};

QTEST_MAIN(TestPreferencesX11)
#include "test_preferences_x11.moc"
