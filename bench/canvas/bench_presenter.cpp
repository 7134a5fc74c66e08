// CPU time of one pointer move on a full-HD canvas, its repaints and
// animation frames included: the pen drawing (the baseline), the laser
// pointer and the spotlight, along the same path, moves paced as a 250 Hz
// mouse sends them, interleaved in the same run. Then one frame of fading
// ink with 50 strokes fading at once, time driven by hand.
#include "benchpage.h"
#include "benchrounds.h"
#include "canvas/mainview.h"
#include "canvas/pentool.h"
#include "canvas/presenterkit.h"
#include "canvas/spotlighttool.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {
BenchPage bench;
const int moves = 600;
const int pacingMs = 4;
qint64 fakeNow = 0;
qint64 nextFrame = 0;

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

// Repaints and animation frames follow as a running program has them: the
// moves paced on the presenter kit's clock, a frame whenever one is due,
// and the widget repainted after each move. Time is the clock's, not the
// wall's, so a busy machine changes how long the work takes, never how much
// of it there is.
void advance(MainView *view, const QPointF *move, Qt::MouseButtons buttons)
{
    fakeNow += pacingMs;
    if (move)
        send(view, QEvent::MouseMove, *move, buttons);
    if (fakeNow >= nextFrame) {
        PresenterKit::instance().animator().tick();
        nextFrame = fakeNow + PresenterAnimator::FrameMs;
    }
    QCoreApplication::sendPostedEvents();
}

// The CPU time of all moves with their repaints and frames, per move.
double timeMoves(MainView *view, int tool, const std::vector<QPointF> &points)
{
    ToolKit::instance().setCurrentTool(tool);
    const bool pen = tool == ToolKit::Pen;
    if (tool == ToolKit::Spotlight)
        static_cast<SpotlightTool *>(ToolKit::instance().currentTool())->aim(view, points[0]);
    if (pen)
        send(view, QEvent::MouseButtonPress, points.front(), Qt::LeftButton);
    QCoreApplication::processEvents();
    const double start = cpuMicroseconds();
    for (size_t i = 1; i < points.size(); ++i)
        advance(view, &points[i], pen ? Qt::LeftButton : Qt::NoButton);
    // The laser's trail fades out after the last move.
    for (const qint64 end = fakeNow + LaserTrail::LifeMs + 100; fakeNow < end;)
        advance(view, nullptr, Qt::NoButton);
    const double perMove = (cpuMicroseconds() - start) / double(points.size() - 1);
    if (pen)
        send(view, QEvent::MouseButtonRelease, points.back(), Qt::NoButton);
    view->document().undo(); // the next round starts on a page as empty
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
    PresenterKit::instance().animator().setClock([] { return fakeNow; });
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
    BenchRounds rounds;
    // The mouse tool does nothing: what delivering a move costs anyway is left
    // out of the tools' ratios.
    rounds.add("mouse tool (delivery alone)",
               [&] { return timeMoves(view, ToolKit::Mouse, points); });
    rounds.add("pen (baseline)", [&] { return timeMoves(view, ToolKit::Pen, points); });
    rounds.add("laser pointer", [&] { return timeMoves(view, ToolKit::Laser, points); });
    rounds.add("spotlight", [&] { return timeMoves(view, ToolKit::Spotlight, points); });
    rounds.run();
    std::printf("CPU per pointer move with its repaints and frames, %d moves every %d ms on a "
                "%d x %d page\n",
                moves, pacingMs, bench.logical.width(), bench.logical.height());
    for (const char *name :
         { "mouse tool (delivery alone)", "pen (baseline)", "laser pointer", "spotlight" })
        rounds.print(name, "us");
    std::printf("laser pointer beside the pen, beyond delivering the move:\n");
    rounds.printRatio("laser pointer", "pen (baseline)", 1.0, "mouse tool (delivery alone)");
    std::printf("spotlight beside the pen, beyond delivering the move:\n");
    rounds.printRatio("spotlight", "pen (baseline)", 2.0, "mouse tool (delivery alone)");
    const std::vector<double> frames = timeFadingFrames(view);
    std::vector<double> sorted = frames;
    std::sort(sorted.begin(), sorted.end());
    std::printf("fading ink, 50 strokes fading at once: frame median %.2f ms, slowest %.2f ms of "
                "%zu frames (target under 4 ms)\n",
                median(frames) / 1e3, sorted.back() / 1e3, frames.size());
    return 0;
}
