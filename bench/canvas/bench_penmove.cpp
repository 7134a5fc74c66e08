// One pen move on a full-HD page with the repaint it asks for, beside a
// minimal pen widget doing the same (a piece painted into an image and its
// rectangle repainted) and beside the raw QPainter piece alone, measured in
// the same run.
#include "benchpage.h"
#include "benchpenpieces.h"
#include "benchrounds.h"
#include "canvas/mainview.h"
#include "canvas/pentool.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "minimalpenwidget.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {
BenchPage bench;
QSize pageSize; // logical
const int moves = 2000;

// Collects the area each repaint of the canvas covers.
class PaintSpy : public QObject
{
public:
    std::vector<double> areas;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const QRect r = static_cast<QPaintEvent *>(event)->region().boundingRect();
            areas.push_back(double(r.width()) * r.height());
        }
        return false;
    }
};

void sendMouse(QWidget *target, QEvent::Type type, const QPointF &pt, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pt, target->mapToGlobal(pt), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// Median time of a move, with the repaint it asks for or with the repaint
// left to run between moves, in microseconds.
double timeMoves(QWidget *target, const std::vector<QPointF> &points, bool withRepaint)
{
    std::vector<double> times;
    sendMouse(target, QEvent::MouseButtonPress, points.front(), Qt::LeftButton);
    QCoreApplication::processEvents();
    for (size_t i = 1; i < points.size(); ++i) {
        QElapsedTimer timer;
        timer.start();
        sendMouse(target, QEvent::MouseMove, points[i], Qt::LeftButton);
        if (withRepaint)
            QCoreApplication::processEvents();
        times.push_back(timer.nsecsElapsed() / 1e3);
        QCoreApplication::processEvents();
    }
    sendMouse(target, QEvent::MouseButtonRelease, points.back(), Qt::NoButton);
    QCoreApplication::processEvents();
    return median(times);
}

double timeRawPieces(const std::vector<QPointF> &points, const QPen &pen)
{
    QImage image(bench.device, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(bench.ratio);
    image.fill(Qt::transparent);
    return rawPenPiecesUs(points, pen, image);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bench = BenchPage::fromEnvironment();
    pageSize = bench.logical;
    QWidget window, minimalWindow;
    window.resize(pageSize);
    minimalWindow.resize(pageSize);
    auto *view = new MainView(&window);
    view->newPage();
    MainPage *page = view->currentPage();
    page->size = pageSize;
    page->setPixels(bench.device, bench.ratio);
    view->updateObjectCache(page, QRect());
    view->fitToWindow(pageSize);
    auto *minimal = new MinimalPenWidget(
        bench.device, bench.ratio,
        QPen(Qt::darkBlue, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin), &minimalWindow);
    minimal->resize(pageSize);
    window.show();
    minimalWindow.show();
    QCoreApplication::processEvents();

    PenTool *pen = ToolKit::instance().penTool();
    pen->strokeTemplate.width = 5;
    pen->strokeTemplate.colour = Qt::darkBlue;
    const std::vector<QPointF> points = bench.figureOfEight(moves);
    PaintSpy spy;
    view->installEventFilter(&spy);

    BenchRounds rounds;
    rounds.add("pen move and its repaint in the canvas",
               [&] { return timeMoves(view, points, true); });
    rounds.add("move and repaint in a minimal pen widget",
               [&] { return timeMoves(minimal, points, true); });
    rounds.add("pen move alone in the canvas", [&] { return timeMoves(view, points, false); });
    rounds.add("move alone in the minimal pen widget",
               [&] { return timeMoves(minimal, points, false); });
    rounds.add("raw QPainter piece into a same-size image", [&] {
        return timeRawPieces(points,
                             QPen(Qt::darkBlue, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    });
    rounds.run(9);
    std::printf("width-5 pen on a %d x %d page (%d x %d device pixels): medians (spread) of 9 "
                "interleaved rounds, each the median of %d moves\n",
                pageSize.width(), pageSize.height(), bench.device.width(), bench.device.height(),
                moves);
    rounds.print("pen move and its repaint in the canvas", "us");
    rounds.print("move and repaint in a minimal pen widget", "us");
    rounds.print("pen move alone in the canvas", "us");
    rounds.print("move alone in the minimal pen widget", "us");
    rounds.print("raw QPainter piece into a same-size image", "us");
    std::printf("pen move with its repaint against the minimal pen widget:\n");
    rounds.printRatio("pen move and its repaint in the canvas",
                      "move and repaint in a minimal pen widget", 1.5);
    std::printf("pen move alone against the minimal widget's move alone:\n");
    rounds.printRatio("pen move alone in the canvas", "move alone in the minimal pen widget", 1.5);
    // The raw piece has no event to deliver: the minimal widget is the floor.
    const BenchRounds::Figure raw
        = rounds.ratio("pen move alone in the canvas", "raw QPainter piece into a same-size image");
    std::printf("pen move alone against the raw piece without an event: %.2f (%.2f-%.2f)\n",
                raw.median, raw.low, raw.high);
    std::printf("repainted area per move: median %.0f px of %d (%zu repaints)\n",
                spy.areas.empty() ? 0.0 : median(spy.areas), pageSize.width() * pageSize.height(),
                spy.areas.size());
    return 0;
}
