#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "canvas/viewtransform.h"
#include "document/mainpage.h"
#include "mainwindow/actiondispatcher.h"
#include "mainwindow/drawmodeswitch.h"
#include "mainwindow/livezoom.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "numberedpicture.h"
#include "platform/nullplatform.h"
#include "testenvironment.h"

#include <QMenu>
#include <QScreen>
#include <QUndoStack>
#include <QtTest>

#include <memory>

namespace {
// A composited desktop whose screen shows a picture that tells each pixel's place.
struct PictureDesktop : NullPlatform
{
    bool isCompositionAvailable() override { return true; }
    QPixmap grabScreen(QScreen *screen) override
    {
        return QPixmap::fromImage(numberedPicture(screen->size()));
    }
};
} // namespace

// Zooming into the screen as a user does it: the command makes a page of the
// screen that zooms to twice its fitted size around the pointer and follows
// it; Escape gives the desktop back unless something was drawn.
class TestLiveZoom : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    // Where the pointer rests, in the window.
    const QPoint pointer { 300, 200 };

    MainView *view() const { return window->view(); }
    LiveZoom *zoom() const { return window->liveZoom(); }
    int pages() const { return view()->document().pageCount(); }
    qreal fitted() const
    {
        return ViewTransform::fitting(view()->currentPage()->size, window->size()).scale();
    }
    QPointF pageUnderPointer() const
    {
        return view()->toPage(view()->mapFromGlobal(QCursor::pos()));
    }

    // The command, up to the end of its animation.
    void zoomIn()
    {
        window->slot_LiveZoom();
        QTRY_VERIFY(zoom()->isActive());
        QTRY_VERIFY(!zoom()->isAnimating());
    }

    // Runs `then` right after the zoom has started on its page, while its
    // animation surely runs.
    void whenZoomStarts(const std::function<void()> &then)
    {
        connect(window->modes(), &DrawModeSwitch::captureEnded, this, then,
                Qt::SingleShotConnection);
    }

    // The pixel shows the picture's pixel `expected`, or one beside it.
    static bool showsNear(const QImage &shown, const QPoint &at, const QPoint &expected)
    {
        return (numberedPosition(shown.pixel(at)) - expected).manhattanLength() <= 2;
    }

    void escape()
    {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &press);
    }

    void stroke()
    {
        QTest::mousePress(view(), Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseMove(view(), QPoint(140, 130));
        QTest::mouseMove(view(), QPoint(180, 100));
        QTest::mouseRelease(view(), Qt::LeftButton, {}, QPoint(180, 100));
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        Platform::replace(std::make_unique<PictureDesktop>());
        window = std::make_unique<MainWindow>();
        AppState::instance().captureDelay = 0;
        QCursor::setPos(window->currentScreen()->geometry().topLeft() + pointer);
    }

    void cleanup()
    {
        window.reset();
        env.reset();
        Platform::reset();
    }

    void offeredInTheMenusTheTrayAndTheCommandLine()
    {
        MenuBar *menu = window->menu();
        const QList<QAction *> tools = menu->menuTools->actions();
        QCOMPARE(tools.indexOf(menu->actionLiveZoom),
                 tools.indexOf(menu->actionDesktopTools[5]) + 1);
        const QList<QAction *> tray = window->trayContextMenu()->actions();
        QCOMPARE(tray.indexOf(menu->actionLiveZoom), tray.indexOf(menu->actionDesktopTools[5]) + 1);
        ActionDispatcher dispatcher(window.get());
        QVERIFY(dispatcher.perform(QStringLiteral("zoom")));
        QTRY_VERIFY(zoom()->isActive());
    }

    // The page is the screen; its first paint is already zoomed, and the
    // animation ends at twice the fitted zoom with the pointer's place kept.
    void zoomsTwiceAroundThePointerAndFollowsIt()
    {
        bool zoomedAtOnce = false;
        whenZoomStarts([&] { zoomedAtOnce = zoom()->isAnimating() && view()->zoom() > fitted(); });
        zoomIn();
        QVERIFY(zoomedAtOnce);
        QCOMPARE(pages(), 1);
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(view()->backgroundPicture().size(), window->currentScreen()->size());
        const qreal fit = fitted();
        QCOMPARE(view()->zoom(), 2 * fit);
        const QPointF under = pageUnderPointer();
        QVERIFY(QLineF(under, QPointF(pointer) / fit).length() < 1);
        // The picture shows there, magnified.
        const QImage shown = view()->grab().toImage();
        const QPoint at = view()->mapFromGlobal(QCursor::pos());
        QVERIFY(showsNear(shown, at, pointer));
        QVERIFY(showsNear(shown, at + QPoint(40, 30), pointer + QPoint(20, 15)));

        // The pointer moving takes the view along: its place in the window is
        // the same place of the page.
        QVERIFY(view()->isFollowingPointer());
        const QPointF inWindow(window->width() * 0.9, window->height() * 0.2);
        QMouseEvent move(QEvent::MouseMove, view()->mapFromParent(inWindow),
                         window->mapToGlobal(inWindow), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(view(), &move);
        const QSizeF page = view()->currentPage()->size;
        const QPointF expected(0.9 * page.width(), 0.2 * page.height());
        QVERIFY(QLineF(view()->toPage(view()->mapFromParent(inWindow)), expected).length() < 1);
        // The plain wheel zooms.
        const qreal before = view()->zoom();
        QWheelEvent wheel(QPointF(50, 50), view()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(view(), &wheel);
        QVERIFY(qAbs(view()->zoom() - before * std::exp2(1.0 / 3)) < 1e-6);
    }

    // Nothing drawn: the page goes, the desktop comes back, and so does the
    // page that was current before.
    void escapeWithNothingDrawnGivesTheDesktopBack()
    {
        window->slot_New();
        const int blank = view()->currentPage()->id;
        zoomIn();
        QCOMPARE(pages(), 2);
        escape();
        QTRY_VERIFY(!window->modes()->isDrawMode());
        QVERIFY(!window->isVisible());
        QCOMPARE(pages(), 1);
        QCOMPARE(view()->currentPage()->id, blank);
        QVERIFY(!view()->isFollowingPointer());
        QVERIFY(!zoom()->isActive());

        // The command again ends it alike, also with no page before.
        view()->document().clear();
        zoomIn();
        window->slot_LiveZoom();
        QTRY_COMPARE(pages(), 0);
        QVERIFY(!window->isVisible());
    }

    // A stroke stops the following; Escape then keeps the page, fitted, with
    // the stroke; the next Escape is the usual way back.
    void escapeAfterAStrokeKeepsThePageFitted()
    {
        zoomIn();
        QCOMPARE(ToolKit::instance().currentToolId(), int(ToolKit::Pen));
        stroke();
        QCOMPARE(view()->currentPage()->undoStack->count(), 1);
        QVERIFY(!view()->isFollowingPointer());
        const QPoint placed = view()->pos();
        QTest::mouseMove(view(), QPoint(5, 5));
        QCOMPARE(view()->pos(), placed);
        escape();
        QCOMPARE(pages(), 1);
        QVERIFY(view()->isFitted());
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(view()->currentPage()->objects.size(), 1);
        QVERIFY(!zoom()->isActive());
        escape();
        QTRY_VERIFY(!window->modes()->isDrawMode());
        QCOMPARE(pages(), 1);
    }

    void choosingAToolStopsTheFollowing()
    {
        zoomIn();
        window->slot_Highlighter();
        QVERIFY(!view()->isFollowingPointer());
        QVERIFY(zoom()->isActive());
        QCOMPARE(view()->zoom(), 2 * fitted());
        // Nothing drawn yet: Escape still gives the desktop back.
        escape();
        QTRY_COMPARE(pages(), 0);
    }

    // Whatever takes the page away during the animation stops it first.
    void pageGoneWhileAnimating()
    {
        bool stopped = false;
        whenZoomStarts([&] {
            window->slot_LiveZoom();
            stopped = !zoom()->isAnimating();
        });
        window->slot_LiveZoom();
        QTRY_VERIFY(stopped);
        QTRY_COMPARE(pages(), 0);

        // The page closed by hand.
        whenZoomStarts([&] {
            view()->deletePage();
            stopped = !zoom()->isAnimating() && !zoom()->isActive();
        });
        stopped = false;
        window->slot_LiveZoom();
        QTRY_VERIFY(stopped);
        QVERIFY(!view()->isFollowingPointer());
        QCOMPARE(pages(), 1);
        QVERIFY(view()->isFitted());

        // Every page closed.
        whenZoomStarts([&] {
            view()->document().clear();
            stopped = !zoom()->isAnimating();
        });
        stopped = false;
        window->slot_LiveZoom();
        QTRY_VERIFY(stopped);
        QCOMPARE(pages(), 0);
    }

    // A wheel turned during the animation takes over from it.
    void wheelDuringTheAnimationWins()
    {
        bool stopped = false;
        whenZoomStarts([&] {
            QWheelEvent wheel(QPointF(50, 50), view()->mapToGlobal(QPointF(50, 50)), QPoint(),
                              QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            QApplication::sendEvent(view(), &wheel);
            stopped = !zoom()->isAnimating();
        });
        window->slot_LiveZoom();
        QTRY_VERIFY(stopped);
        QVERIFY(view()->zoom() < 2 * fitted());
        QVERIFY(zoom()->isActive());
    }

    // Over a live desktop the page still shows its picture while it is the
    // live zoom's, and again once it ends.
    void liveDesktopShowsThePicture()
    {
        window->slot_LiveDesktop();
        QVERIFY(window->modes()->isLiveDesktop());
        zoomIn();
        QVERIFY(!view()->isLiveDesktop());
        QCOMPARE(view()->zoom(), 2 * fitted());
        const QImage shown = view()->grab().toImage();
        QVERIFY(showsNear(shown, view()->mapFromGlobal(QCursor::pos()), pointer));
        QVERIFY(window->menu()->actionFitPage->isEnabled());
        escape();
        QVERIFY(view()->isLiveDesktop());
        QTRY_COMPARE(pages(), 0);

        // Drawn on, the page keeps its picture shown until another page comes.
        zoomIn();
        stroke();
        escape();
        QVERIFY(view()->isFitted());
        QVERIFY(!view()->isLiveDesktop());
        window->slot_New();
        QVERIFY(view()->isLiveDesktop());
    }
};

QTEST_MAIN(TestLiveZoom)
#include "test_livezoom.moc"
