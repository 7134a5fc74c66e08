// One pen move on a full-HD page: the piece painted into the canvas's layer
// plus the repaint it schedules, beside the raw cost of drawing the same
// piece with a QPainter into an image of the same size, measured in the same
// run. The repaint itself runs between moves and is reported by its area.
#include "benchpage.h"
#include "canvas/mainview.h"
#include "canvas/pentool.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"

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

// A figure of eight across the page in steps of 8 px, so that every move
// adds a piece.
std::vector<QPointF> strokePoints()
{
    const double w = pageSize.width() / 2.0, h = pageSize.height() / 2.0;
    auto at = [&](double t) {
        return QPointF(w + w * 0.83 * std::sin(t), h + h * 0.74 * std::sin(2 * t));
    };
    std::vector<QPointF> points { at(0) };
    double t = 0;
    while (int(points.size()) <= moves) {
        t += 0.0005;
        if (QLineF(points.back(), at(t)).length() >= 8)
            points.push_back(at(t));
    }
    return points;
}

double median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

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

std::vector<double> timePenMoves(MainView *view, const std::vector<QPointF> &points)
{
    std::vector<double> times;
    auto send = [&](QEvent::Type type, const QPointF &pt, Qt::MouseButtons buttons) {
        QMouseEvent event(type, pt, view->mapToGlobal(pt), Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(view, &event);
    };
    send(QEvent::MouseButtonPress, points.front(), Qt::LeftButton);
    for (size_t i = 1; i < points.size(); ++i) {
        QElapsedTimer timer;
        timer.start();
        send(QEvent::MouseMove, points[i], Qt::LeftButton);
        times.push_back(timer.nsecsElapsed() / 1e3);
        QCoreApplication::processEvents(); // the repaint itself is not part of the move
    }
    send(QEvent::MouseButtonRelease, points.back(), Qt::NoButton);
    return times;
}

std::vector<double> timeRawPieces(const std::vector<QPointF> &points, const QPen &pen)
{
    QImage image(bench.device, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(bench.ratio);
    image.fill(Qt::transparent);
    std::vector<double> times;
    QPointF previous = points.front(), lastMid = previous;
    for (size_t i = 1; i < points.size(); ++i) {
        const QPointF mid = (previous + points[i]) / 2;
        QElapsedTimer timer;
        timer.start();
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.setPen(pen);
            QPainterPath piece(lastMid);
            piece.quadTo(previous, mid);
            painter.drawPath(piece);
        }
        times.push_back(timer.nsecsElapsed() / 1e3);
        previous = points[i];
        lastMid = mid;
    }
    return times;
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bench = BenchPage::fromEnvironment();
    pageSize = bench.logical;
    QWidget window;
    window.resize(pageSize);
    auto *view = new MainView(&window);
    view->newPage();
    MainPage *page = view->currentPage();
    page->size = pageSize;
    page->setPixels(bench.device, bench.ratio);
    view->updateObjectCache(page, QRect());
    view->fitToWindow(pageSize);
    window.show();
    QCoreApplication::processEvents();

    PenTool *pen = ToolKit::instance().penTool();
    pen->strokeTemplate.width = 5;
    pen->strokeTemplate.colour = Qt::darkBlue;
    const std::vector<QPointF> points = strokePoints();
    PaintSpy spy;
    view->installEventFilter(&spy);

    // Two rounds each, interleaved, so that neither side gets a warmer cache.
    std::vector<double> penTimes, rawTimes;
    for (int round = 0; round < 2; ++round) {
        for (double t : timePenMoves(view, points))
            penTimes.push_back(t);
        for (double t : timeRawPieces(
                 points, QPen(Qt::darkBlue, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)))
            rawTimes.push_back(t);
    }
    const double penMedian = median(penTimes), rawMedian = median(rawTimes);
    std::printf("medians of %zu moves of a width-5 pen on a %d x %d page (%d x %d device "
                "pixels)\n",
                penTimes.size(), pageSize.width(), pageSize.height(), bench.device.width(),
                bench.device.height());
    std::printf("pen move (piece into the layer + scheduled repaint) %8.2f us\n", penMedian);
    std::printf("raw QPainter piece into a same-size image           %8.2f us\n", rawMedian);
    std::printf("ratio %.2f (target at most 1.5)\n", penMedian / rawMedian);
    std::printf("repainted area per move: median %.0f px of %d (%zu repaints)\n",
                spy.areas.empty() ? 0.0 : median(spy.areas), pageSize.width() * pageSize.height(),
                spy.areas.size());
    std::printf("strokes on the page: %lld\n", static_cast<long long>(page->objects.size()));
    return 0;
}
