#include "platform/platform.h"
#include "x11probe.h"

#include <QWidget>
#include <QtTest>

class TestX11Platform : public QObject
{
    Q_OBJECT

    static xcb_window_t id(QWidget *pWidget) { return xcb_window_t(pWidget->winId()); }

private Q_SLOTS:
    void backendIsChosenForX11() { QCOMPARE(Platform::instance().name(), QStringLiteral("x11")); }

    void topmostWindowStaysAboveOthers()
    {
        X11Probe x11;
        QWidget below;
        below.setGeometry(50, 50, 300, 200);
        QWidget top;
        top.setGeometry(100, 100, 300, 200);
        top.show();
        QVERIFY(QTest::qWaitForWindowExposed(&top));
        Platform::instance().setTopmost(&top);
        QTRY_VERIFY(x11.hasNetWmState(id(&top), "_NET_WM_STATE_ABOVE"));

        // A window shown and raised later still stays beneath it.
        below.show();
        QVERIFY(QTest::qWaitForWindowExposed(&below));
        below.raise();
        below.activateWindow();
        QTRY_VERIFY(x11.stackingIndex(id(&below)) >= 0);
        QTRY_VERIFY(x11.stackingIndex(id(&top)) > x11.stackingIndex(id(&below)));
    }

    void toolWindowsStayOutOfTheTaskbar()
    {
        X11Probe x11;
        QWidget before;
        before.setGeometry(10, 10, 100, 100);
        before.winId();
        Platform::instance().setToolWindowStyle(&before);
        before.show();
        QVERIFY(QTest::qWaitForWindowExposed(&before));
        QTRY_VERIFY(x11.hasNetWmState(id(&before), "_NET_WM_STATE_SKIP_TASKBAR"));

        QWidget after;
        after.setGeometry(200, 10, 100, 100);
        after.show();
        QVERIFY(QTest::qWaitForWindowExposed(&after));
        QVERIFY(!x11.hasNetWmState(id(&after), "_NET_WM_STATE_SKIP_TASKBAR"));
        Platform::instance().setToolWindowStyle(&after);
        QTRY_VERIFY(x11.hasNetWmState(id(&after), "_NET_WM_STATE_SKIP_TASKBAR"));
        QVERIFY(x11.hasNetWmState(id(&after), "_NET_WM_STATE_SKIP_PAGER"));
    }

    // Composition means a compositing manager owns the screen's selection.
    void compositionFollowsTheCompositingManager()
    {
        X11Probe x11;
        QVERIFY(!Platform::instance().isCompositionAvailable());
        QWidget manager;
        manager.winId();
        const xcb_atom_t selection = x11.atom("_NET_WM_CM_S0");
        xcb_set_selection_owner(x11.connection(), id(&manager), selection, XCB_CURRENT_TIME);
        xcb_flush(x11.connection());
        QVERIFY(Platform::instance().isCompositionAvailable());
        xcb_set_selection_owner(x11.connection(), XCB_NONE, selection, XCB_CURRENT_TIME);
        xcb_flush(x11.connection());
        QVERIFY(!Platform::instance().isCompositionAvailable());
    }
};

QTEST_MAIN(TestX11Platform)
#include "test_x11platform.moc"
