// CPU time of one pointer move on a full-HD canvas, its repaints and
// animation frames included: the pen drawing (the baseline), the laser
// pointer and the spotlight, along the same path, moves paced as a 250 Hz
// mouse sends them, interleaved in the same run. Then one frame of fading
// ink with 50 strokes fading at once, time driven by hand.
#include "benchpage.h"
#include "canvas/mainview.h"
#include "canvas/pentool.h"
#include "canvas/presenterkit.h"
#include "canvas/spotlighttool.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
BenchPage bench;
const int moves = 1000;
const int pacingMs = 4;
qint64 fakeNow = 0;

double cpuMicroseconds()
{
    timespec t {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e6 + double(t.tv_nsec) / 1e3;
}

void send(MainView *view, QEvent::Type type, const QPointF &pt, Qt::MouseButtons buttons)
{
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, pt, view->mapToGlobal(pt), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(view, &event);
}

// The process's CPU time over all moves, sent by a timer as a mouse sends
// them, with the repaints and frames that follow included, per move.
double timeMoves(MainView *view, int tool, const std::vector<QPointF> &points)
{
    ToolKit::instance().setCurrentTool(tool);
    const bool pen = tool == ToolKit::Pen;
    if (tool == ToolKit::Spotlight)
        static_cast<SpotlightTool *>(ToolKit::instance().currentTool())->aim(view, points[0]);
    if (pen)
        send(view, QEvent::MouseButtonPress, points.front(), Qt::LeftButton);
    QCoreApplication::processEvents();
    QEventLoop loop;
    QTimer mouse;
    mouse.setTimerType(Qt::PreciseTimer);
    size_t next = 1;
    QObject::connect(&mouse, &QTimer::timeout, [&] {
        if (next < points.size()) {
            send(view, QEvent::MouseMove, points[next++], pen ? Qt::LeftButton : Qt::NoButton);
            return;
        }
        mouse.stop();
        // The laser's trail fades out after the last move.
        QTimer::singleShot(600, &loop, &QEventLoop::quit);
    });
    const double start = cpuMicroseconds();
    mouse.start(pacingMs);
    loop.exec();
    const double perMove = (cpuMicroseconds() - start) / double(points.size() - 1);
    if (pen)
        send(view, QEvent::MouseButtonRelease, points.back(), Qt::NoButton);
    view->undo(); // the next round starts on a page as empty
    QCoreApplication::processEvents();
    return perMove;
}

// 50 wavy strokes over the page, all in their fade.
std::vector<double> timeFadingFrames(MainView *view)
{
    ToolKit::instance().setCurrentTool(ToolKit::Mouse);
    PresenterKit &kit = PresenterKit::instance();
    const qint64 lifted = fakeNow;
    for (int i = 0; i < 50; ++i) {
        auto *stroke = new ObjStroke;
        stroke->width = 5;
        stroke->colour = QColor::fromHsv(i * 7, 255, 200);
        const double y = 60 + i * (bench.logical.height() - 120) / 50.0;
        stroke->path.moveTo(100, y);
        for (int x = 100; x < bench.logical.width() - 100; x += 12)
            stroke->path.quadTo(x + 6, y + (x % 24 ? 18 : -18), x + 12, y);
        kit.takeStroke(view, stroke);
    }
    QCoreApplication::processEvents();
    std::vector<double> times;
    const qint64 life = qint64(3000);
    // The fade's last second, frame by frame.
    for (fakeNow = lifted + life - 1000 + 16; fakeNow < lifted + life - 16; fakeNow += 16) {
        const double start = cpuMicroseconds();
        kit.animator().tick();
        QCoreApplication::processEvents();
        times.push_back(cpuMicroseconds() - start);
    }
    return times;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bench = BenchPage::fromEnvironment();
    QWidget window;
    window.resize(bench.logical);
    auto *view = new MainView(&window);
    view->newPage();
    MainPage *page = view->currentPage();
    page->size = bench.logical;
    page->setPixels(bench.device, bench.ratio);
    view->updateObjectCache(page, QRect());
    view->fitToWindow(bench.logical);
    window.show();
    QCoreApplication::processEvents();
    ToolKit::instance().penTool()->strokeTemplate.width = 5;
    ToolKit::instance().penTool()->strokeTemplate.colour = Qt::darkBlue;

    const std::vector<QPointF> points = bench.figureOfEight(moves);
    std::vector<double> idle, pen, laser, spotlight;
    for (int round = 0; round < 3; ++round) {
        idle.push_back(timeMoves(view, ToolKit::Mouse, points));
        pen.push_back(timeMoves(view, ToolKit::Pen, points));
        laser.push_back(timeMoves(view, ToolKit::Laser, points));
        spotlight.push_back(timeMoves(view, ToolKit::Spotlight, points));
    }
    // What the event loop costs anyway (the mouse tool does nothing) is
    // left out of the tools' figures.
    const double floor = median(idle);
    const double penCost = median(pen) - floor;
    const double laserCost = median(laser) - floor;
    const double spotlightCost = median(spotlight) - floor;
    std::printf("CPU per pointer move with its repaints and frames, medians of 3 runs of %d "
                "moves every %d ms on a %d x %d page, beyond the %.1f us the event loop takes "
                "with the mouse tool\n",
                moves, pacingMs, bench.logical.width(), bench.logical.height(), floor);
    std::printf("pen (baseline)  %8.1f us\n", penCost);
    std::printf("laser pointer   %8.1f us  = %.2f x the pen (target at most 1)\n", laserCost,
                laserCost / penCost);
    std::printf("spotlight       %8.1f us  = %.2f x the pen (target at most 2)\n", spotlightCost,
                spotlightCost / penCost);
    PresenterKit::instance().animator().setClock([] { return fakeNow; });
    const std::vector<double> frames = timeFadingFrames(view);
    std::vector<double> sorted = frames;
    std::sort(sorted.begin(), sorted.end());
    std::printf("fading ink, 50 strokes fading at once: frame median %.2f ms, slowest %.2f ms of "
                "%zu frames (target under 4 ms)\n",
                median(frames) / 1e3, sorted.back() / 1e3, frames.size());
    return 0;
}
