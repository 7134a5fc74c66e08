#include "desktoptools/capturewin.h"
#include "platform/platform.h"
#include "testenvironment.h"
#include "widgets/popupwidgetbtn.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <memory>

// Window picking on a real X server with a window manager: the platform layer
// against windows this test creates, then the window capture panel driving it.
class TestWindowPicking : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static std::unique_ptr<QWidget> showWindow(const QRect &geometry, const QColor &colour)
    {
        auto window = std::make_unique<QWidget>();
        QPalette palette = window->palette();
        palette.setColor(QPalette::Window, colour);
        window->setPalette(palette);
        window->setAutoFillBackground(true);
        window->setGeometry(geometry);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            return nullptr;
        // Right after mapping the window manager's report can leave Qt with a
        // stale position; asking again puts Qt's idea where the window is.
        window->setGeometry(geometry);
        return window;
    }

    static QImage grabRow(const QRect &frame, int y)
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, frame.left(), y, frame.width(), 1)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    static bool hasDottedRow(const QImage &row)
    {
        int black = 0;
        int white = 0;
        for (int x = 2; x < row.width() - 2; ++x) {
            black += row.pixel(x, 0) == qRgb(0, 0, 0);
            white += row.pixel(x, 0) == qRgb(255, 255, 255);
        }
        return black > row.width() / 3 && white > row.width() / 3;
    }

    static QPoint labelCentre(CaptureWin *panel)
    {
        const QLabel *label = panel->cameraLabel();
        return label->geometry().center();
    }

    // Drags the camera icon from its place to a global point.
    static void dragCameraTo(CaptureWin *panel, const QPoint &global)
    {
        const QPoint start = labelCentre(panel);
        QTest::mousePress(panel, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(panel, start + QPoint(QApplication::startDragDistance() + 2, 0));
        QVERIFY(panel->isPicking());
        QTest::mouseMove(panel, panel->mapFromGlobal(global));
    }

    static void drop(CaptureWin *panel, const QPoint &global)
    {
        QTest::mouseRelease(panel, Qt::LeftButton, Qt::NoModifier, panel->mapFromGlobal(global));
    }

    static QList<PopupWidgetBtn *> outputs(CaptureWin *panel)
    {
        return panel->findChildren<PopupWidgetBtn *>();
    }

    std::unique_ptr<CaptureWin> showPanel()
    {
        auto panel = std::make_unique<CaptureWin>(nullptr);
        panel->move(40, 700);
        panel->show();
        if (!QTest::qWaitForWindowExposed(panel.get()))
            return nullptr;
        return panel;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }

    void findsTheUppermostWindowAndItsFrame()
    {
        Platform &platform = Platform::instance();
        QCOMPARE(platform.name(), QStringLiteral("x11"));
        auto lower = showWindow(QRect(300, 200, 400, 300), Qt::red);
        QVERIFY(lower);
        const WId lowerId = lower->winId();
        const QPoint inside = lower->geometry().center();
        QTRY_COMPARE(platform.topLevelWindowAt(inside, {}), lowerId);
        // The rectangle takes in the window manager's decorations.
        QTRY_COMPARE(platform.windowFrameRect(lowerId), lower->frameGeometry());
        QVERIFY(lower->frameGeometry().height() > lower->height());
        QVERIFY(lower->frameGeometry().contains(lower->geometry()));
        // Our own windows are not picked, nor is the bare desktop.
        QCOMPARE(platform.topLevelWindowAt(inside, { lowerId }), WId(0));
        QCOMPARE(platform.topLevelWindowAt(QPoint(1900, 1070), {}), WId(0));

        auto upper = showWindow(QRect(500, 300, 400, 300), Qt::blue);
        QVERIFY(upper);
        upper->raise();
        QTRY_COMPARE(platform.topLevelWindowAt(QPoint(600, 400), {}), upper->winId());
        QCOMPARE(platform.topLevelWindowAt(QPoint(350, 250), {}), lowerId);

        const WId upperId = upper->winId();
        upper.reset();
        QTRY_COMPARE(platform.topLevelWindowAt(QPoint(600, 400), {}), lowerId);
        QVERIFY(platform.windowFrameRect(upperId).isEmpty());
    }

    void frameIsShownAroundTheWindowAndRemoved()
    {
        Platform &platform = Platform::instance();
        auto target = showWindow(QRect(300, 200, 400, 300), Qt::green);
        QVERIFY(target);
        const WId id = target->winId();
        QTRY_COMPARE(platform.windowFrameRect(id), target->frameGeometry());
        const QRect frame = target->frameGeometry();
        const int y = frame.top() + 1;
        const QImage before = grabRow(frame, y);
        QVERIFY(!hasDottedRow(before));

        QVERIFY(platform.showWindowFrame(id));
        QTRY_VERIFY(hasDottedRow(grabRow(frame, y)));
        QTRY_VERIFY(hasDottedRow(grabRow(frame, frame.bottom() - 1)));
        // Nothing drawn outside the frame line, and the pointer still finds the
        // window through it.
        QVERIFY(!hasDottedRow(grabRow(frame, frame.top())));
        QVERIFY(!hasDottedRow(grabRow(frame, frame.top() + 3)));
        QCOMPARE(platform.topLevelWindowAt(QPoint(frame.center().x(), y), {}), id);

        platform.hideWindowFrame(id + 1);
        QVERIFY(hasDottedRow(grabRow(frame, y)));
        platform.hideWindowFrame(id);
        // Gone from both rows. Rows are not compared with themselves before:
        // the window manager may draw its frame in active colours only now.
        QTRY_VERIFY(!hasDottedRow(grabRow(frame, y)));
        QTRY_VERIFY(!hasDottedRow(grabRow(frame, frame.bottom() - 1)));
    }

    void cameraDroppedOnAWindowPicksIt()
    {
        auto target = showWindow(QRect(600, 150, 500, 350), Qt::yellow);
        QVERIFY(target);
        auto panel = showPanel();
        QVERIFY(panel);
        for (PopupWidgetBtn *button : outputs(panel.get()))
            QVERIFY(!button->isEnabled());

        dragCameraTo(panel.get(), target->geometry().center());
        QCOMPARE(panel->framedWindow(), target->winId());
        QVERIFY(QApplication::overrideCursor());
        QVERIFY(panel->cameraLabel()->pixmap().isNull());
        drop(panel.get(), target->geometry().center());

        QCOMPARE(panel->pickedRect(), target->frameGeometry());
        QCOMPARE(panel->framedWindow(), WId(0));
        QVERIFY(!panel->isPicking());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!panel->cameraLabel()->pixmap().isNull());
        for (PopupWidgetBtn *button : outputs(panel.get()))
            QVERIFY(button->isEnabled());

        QTest::mouseClick(outputs(panel.get()).at(2), Qt::LeftButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(panel->result(), 4);
    }

    void cameraDroppedOnThePanelCancels()
    {
        auto target = showWindow(QRect(600, 150, 500, 350), Qt::cyan);
        QVERIFY(target);
        auto panel = showPanel();
        QVERIFY(panel);
        dragCameraTo(panel.get(), target->geometry().center());
        drop(panel.get(), target->geometry().center());
        QVERIFY(!panel->pickedRect().isEmpty());

        // Over the window, then back onto the panel: the frame stays on the
        // window until the drop, which takes the pick back.
        dragCameraTo(panel.get(), target->geometry().center());
        const QPoint onPanel = panel->geometry().center();
        QTest::mouseMove(panel.get(), panel->mapFromGlobal(onPanel));
        QCOMPARE(panel->framedWindow(), target->winId());
        drop(panel.get(), onPanel);
        QVERIFY(panel->pickedRect().isEmpty());
        QCOMPARE(panel->framedWindow(), WId(0));
        for (PopupWidgetBtn *button : outputs(panel.get()))
            QVERIFY(!button->isEnabled());

        // A right-button release closes the panel.
        QTest::mouseClick(panel.get(), Qt::RightButton);
        QVERIFY(!panel->isVisible());
        QCOMPARE(panel->result(), 0);
    }

    // The keyboard's way: the arrows step down the stack from the uppermost
    // window, each framed and told by its title, and Return takes the pick.
    void arrowKeysPickWindowsDownTheStack()
    {
        Platform &platform = Platform::instance();
        auto lower = showWindow(QRect(300, 200, 400, 300), Qt::red);
        QVERIFY(lower);
        auto upper = showWindow(QRect(500, 300, 400, 300), Qt::blue);
        QVERIFY(upper);
        upper->setWindowTitle(QStringLiteral("Blue \u00e9t\u00e9"));
        upper->raise();
        QTRY_COMPARE(platform.topLevelWindowAt(QPoint(600, 400), {}), upper->winId());
        QTRY_COMPARE(platform.windowTitle(upper->winId()), QStringLiteral("Blue \u00e9t\u00e9"));

        auto panel = showPanel();
        QVERIFY(panel);
        QLabel *camera = panel->cameraLabel();
        // Windows of others may lie above ours.
        const WId ours[] = { upper->winId(), lower->winId() };
        for (int step = 0; step < 20 && !std::count(ours, ours + 2, panel->framedWindow()); ++step)
            QTest::keyClick(camera, Qt::Key_Down);
        QCOMPARE(panel->framedWindow(), upper->winId());
        QCOMPARE(panel->pickedRect(), upper->frameGeometry());
        QVERIFY(panel->spokenPick().startsWith(QStringLiteral("Blue \u00e9t\u00e9, x ")));
        QTest::keyClick(camera, Qt::Key_Down);
        QCOMPARE(panel->framedWindow(), lower->winId());
        QTest::keyClick(camera, Qt::Key_Return);
        QVERIFY(!panel->isVisible());
        QCOMPARE(panel->result(), 2);
        QCOMPARE(panel->pickedRect(), lower->frameGeometry());
        QCOMPARE(panel->framedWindow(), WId(0));
    }
};

QTEST_MAIN(TestWindowPicking)
#include "test_windowpicking.moc"
