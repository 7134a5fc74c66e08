// Zoom on a full-HD page with a picture background: a repaint at 400 % with
// 1000 strokes beside drawing the same visible area raw, a pen move at 400 %
// beside the raw piece at the zoom, Ctrl+wheel steps with the repaints they
// cause and the sharp render once they stop, with 0 and 1000 strokes; then
// wheel steps and page switches at the zoom in documents of 1, 20 and 100
// pages, all measured in the same run.
#include "benchpage.h"
#include "benchpageswitch.h"
#include "benchpenpieces.h"
#include "benchpicture.h"
#include "benchrounds.h"
#include "benchstrokes.h"
#include "benchtimer.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/pentool.h"
#include "canvas/toolkit.h"
#include "document/addcommand.h"
#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QWheelEvent>

#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {
BenchPage bench;
QSize pageSize; // logical
const qreal Zoom = 4;
const int penMoves = 2000;

// Times how long the window takes to handle each repaint request, and
// whether zoom steps were still settling when it came.
class UpdateTimer : public QObject
{
public:
    explicit UpdateTimer(const MainView *view)
        : view(view)
    {
    }
    int handled = 0;
    double lastMs = 0;
    bool lastWhileSettling = false;

    bool eventFilter(QObject *target, QEvent *event) override
    {
        if (event->type() != QEvent::UpdateRequest || inside)
            return false;
        inside = true;
        lastWhileSettling = view->isZoomSettling();
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(target, event);
        lastMs = timer.nsecsElapsed() / 1e6;
        ++handled;
        inside = false;
        return true;
    }

private:
    const MainView *view;
    bool inside = false;
};

// The canvas in a window of the page's size, as the program shows it.
struct Canvas
{
    Canvas()
        : window(std::make_unique<QWidget>())
        , view(new MainView(window.get()))
        , updates(view)
    {
        window->resize(pageSize);
        window->installEventFilter(&updates);
    }
    std::unique_ptr<QWidget> window;
    MainView *view;
    UpdateTimer updates;
};

QPixmap devicePicture(int seed)
{
    QPixmap picture = QPixmap::fromImage(makePicture(bench.device, seed));
    picture.setDevicePixelRatio(bench.ratio);
    return picture;
}

// A new current page with a picture background and `strokes` written strokes.
MainPage *addPage(MainView *view, const QPixmap &background, int strokes, int seed)
{
    view->newPage();
    MainPage *page = view->currentPage();
    page->size = pageSize;
    page->setPixels(bench.device, bench.ratio);
    view->updateObjectCache(page, QRect());
    view->fitToWindow(pageSize);
    view->setBackground(background);
    QRandomGenerator rng(seed);
    for (int i = 0; i < strokes; ++i)
        view->pushCommand(new AddCommand(view, writtenStroke(rng, pageSize)));
    view->updateObjectCache(page, QRect());
    return page;
}

// Waits for the zoom steps to settle; returns how long the sharp repaint that
// follows took.
double settleMs(Canvas &canvas)
{
    const int before = canvas.updates.handled;
    while (canvas.updates.handled == before || canvas.updates.lastWhileSettling)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return canvas.updates.lastMs;
}

// Where the wheel turns, in the window.
QPointF wheelSpot()
{
    return QPointF(pageSize.width() * 0.4, pageSize.height() * 0.45);
}

// One Ctrl+wheel step at `spot` of the window with the repaint it causes.
double wheelStepMs(MainView *view, int notches)
{
    const QPointF at = view->mapFrom(view->parentWidget(), wheelSpot());
    QWheelEvent wheel(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QElapsedTimer timer;
    timer.start();
    QApplication::sendEvent(view, &wheel);
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

void steps(MainView *view, int count, int notches, std::vector<double> &times)
{
    for (int i = 0; i < count; ++i)
        times.push_back(wheelStepMs(view, notches));
}

void zoomAtCentre(Canvas &canvas, qreal zoom)
{
    canvas.view->zoomTo(zoom, QPointF(pageSize.width(), pageSize.height()) / 2);
    settleMs(canvas);
}

// (a) The least a repaint of the visible area at the zoom does: the part of
// the background on screen scaled and the strokes that cross it drawn.
double rawZoomedFrameMs(const MainView *view, const QImage &background)
{
    const ViewTransform shown = view->transform();
    const QRectF visible = shown.toPage(QRectF(view->rect()));
    QList<const ObjStroke *> crossing;
    for (const Obj *obj : view->currentPage()->objects) {
        const auto *stroke = dynamic_cast<const ObjStroke *>(obj);
        const qreal w = stroke ? stroke->width : 0;
        if (stroke && stroke->path.controlPointRect().adjusted(-w, -w, w, w).intersects(visible))
            crossing.append(stroke);
    }
    QImage frame((QSizeF(view->size()) * bench.ratio).toSize(), QImage::Format_RGB32);
    frame.setDevicePixelRatio(bench.ratio);
    return medianMs(31, [&] {
        QPainter p(&frame);
        p.translate(shown.origin());
        p.scale(shown.scale(), shown.scale());
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(visible, background,
                    QRectF(visible.topLeft() * bench.ratio, visible.size() * bench.ratio));
        p.setRenderHint(QPainter::Antialiasing);
        for (const ObjStroke *s : crossing) {
            p.setPen(QPen(s->colour, s->width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPath(s->path);
        }
    });
}

// The floor beneath it: the background scaled and a layer already drawn at
// the zoom blended over it.
double zoomedFloorMs(const MainView *view, const QImage &background)
{
    const ViewTransform shown = view->transform();
    const QRectF visible = shown.toPage(QRectF(view->rect()));
    const QSize device = (QSizeF(view->size()) * bench.ratio).toSize();
    QImage layer(device, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(bench.ratio);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.translate(shown.origin());
        p.scale(shown.scale(), shown.scale());
        view->currentPage()->paint(&p, false, visible.toAlignedRect());
    }
    QImage frame(device, QImage::Format_RGB32);
    frame.setDevicePixelRatio(bench.ratio);
    return medianMs(31, [&] {
        QPainter p(&frame);
        p.save();
        p.translate(shown.origin());
        p.scale(shown.scale(), shown.scale());
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.drawImage(visible, background,
                    QRectF(visible.topLeft() * bench.ratio, visible.size() * bench.ratio));
        p.restore();
        p.drawImage(0, 0, layer);
    });
}

void measureRepaint(Canvas &canvas)
{
    MainView *view = canvas.view;
    zoomAtCentre(canvas, Zoom);
    const QImage background = view->backgroundPicture().toImage();
    const double repaint = medianMs(31, [&] { view->QWidget::repaint(); });
    const double raw = rawZoomedFrameMs(view, background);
    const double floor = zoomedFloorMs(view, background);
    std::printf("(a) canvas repaint at %.0f %% with 1000 strokes      %8.3f ms\n", Zoom * 100,
                repaint);
    std::printf("    raw: visible background scaled + strokes crossing it drawn %8.3f ms\n", raw);
    std::printf("    floor: background scaled + a layer drawn at the zoom blended %8.3f ms\n",
                floor);
    std::printf("    ratio to raw %.2f (target at most 1.3: %s), to the floor %.2f\n",
                repaint / raw, repaint / raw <= 1.3 ? "met" : "NOT met", repaint / floor);
}

void sendMouse(QWidget *target, QEvent::Type type, const QPointF &pt, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, pt, target->mapToGlobal(pt), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

// A figure of eight over the part of the page on screen, in page pixels, in
// steps of 8 so that each move adds a piece.
std::vector<QPointF> visibleFigureOfEight(const QRectF &visible, int moves)
{
    const QPointF c = visible.center();
    const double w = visible.width() / 2 * 0.83, h = visible.height() / 2 * 0.74;
    auto at = [&](double t) { return c + QPointF(w * std::sin(t), h * std::sin(2 * t)); };
    std::vector<QPointF> points { at(0) };
    double t = 0;
    while (int(points.size()) <= moves) {
        t += 0.001;
        if (QLineF(points.back(), at(t)).length() >= 8)
            points.push_back(at(t));
    }
    return points;
}

// Median time of a move in microseconds, with the repaint it asks for or
// with the repaint left to run between moves.
double timeMoves(MainView *view, const std::vector<QPointF> &pagePoints, bool withRepaint)
{
    std::vector<double> times;
    sendMouse(view, QEvent::MouseButtonPress, view->toView(pagePoints.front()), Qt::LeftButton);
    QCoreApplication::processEvents();
    for (size_t i = 1; i < pagePoints.size(); ++i) {
        QElapsedTimer timer;
        timer.start();
        sendMouse(view, QEvent::MouseMove, view->toView(pagePoints[i]), Qt::LeftButton);
        if (withRepaint)
            QCoreApplication::processEvents();
        times.push_back(timer.nsecsElapsed() / 1e3);
        QCoreApplication::processEvents();
    }
    sendMouse(view, QEvent::MouseButtonRelease, view->toView(pagePoints.back()), Qt::NoButton);
    QCoreApplication::processEvents();
    return median(times);
}

// The same pieces painted at the zoom into an image of the canvas's size.
double timeRawPieces(const MainView *view, const std::vector<QPointF> &points, const QPen &pen)
{
    const ViewTransform shown = view->transform();
    QImage image((QSizeF(view->size()) * bench.ratio).toSize(),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(bench.ratio);
    image.fill(Qt::transparent);
    QTransform toView;
    toView.translate(shown.origin().x(), shown.origin().y());
    toView.scale(shown.scale(), shown.scale());
    return rawPenPiecesUs(points, pen, image, toView);
}

void measurePenMove(Canvas &canvas)
{
    MainView *view = canvas.view;
    PenTool *pen = ToolKit::instance().penTool();
    pen->strokeTemplate.width = 5;
    pen->strokeTemplate.colour = Qt::darkBlue;
    const std::vector<QPointF> points
        = visibleFigureOfEight(view->transform().toPage(QRectF(view->rect())), penMoves);
    const QPen rawPen(Qt::darkBlue, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    BenchRounds rounds;
    rounds.add("pen move and its repaint at 400 %", [&] { return timeMoves(view, points, true); });
    rounds.add("pen move alone at 400 %", [&] { return timeMoves(view, points, false); });
    rounds.add("raw QPainter piece at 400 %", [&] { return timeRawPieces(view, points, rawPen); });
    rounds.run(9);
    std::printf("(b) width-5 pen, moves 8 page pixels apart: medians (spread) of 9 interleaved "
                "rounds, each the median of %d moves\n",
                penMoves);
    rounds.print("pen move and its repaint at 400 %", "us");
    rounds.print("pen move alone at 400 %", "us");
    rounds.print("raw QPainter piece at 400 %", "us");
    std::printf("    pen move alone against the raw piece at the zoom:\n  ");
    rounds.printRatio("pen move alone at 400 %", "raw QPainter piece at 400 %", 1.5);
    std::printf("    pen move with its repaint against the raw piece at the zoom:\n  ");
    rounds.printRatio("pen move and its repaint at 400 %", "raw QPainter piece at 400 %", 0);
}

struct StepFigures
{
    std::vector<double> steps;
    std::vector<double> settles; // at 400 %
};

// From fitted: six notches in to 400 %, settled there; three more to 800 %,
// fifteen out to 25 %, six in again, and back to fitted.
void wheelRound(Canvas &canvas, StepFigures &figures)
{
    MainView *view = canvas.view;
    steps(view, 6, 1, figures.steps);
    figures.settles.push_back(settleMs(canvas));
    steps(view, 3, 1, figures.steps);
    steps(view, 15, -1, figures.steps);
    steps(view, 6, 1, figures.steps);
    settleMs(canvas);
    view->zoomToFit();
    settleMs(canvas);
}

double worst(const std::vector<double> &v)
{
    return *std::max_element(v.begin(), v.end());
}

void printSteps(const char *what, const StepFigures &f, double budget)
{
    std::printf("    %-28s step median %7.3f ms, worst %7.3f ms (%zu steps; frame %.0f ms: %s)\n",
                what, median(f.steps), worst(f.steps), f.steps.size(), budget,
                worst(f.steps) <= budget ? "met" : "NOT met");
    std::printf("    %-28s settle render at 400 %%: median %7.3f ms, worst %7.3f ms\n", "",
                median(f.settles), worst(f.settles));
}

double frameBudget()
{
    return bench.ratio > 1 ? 33 : 16;
}

// Goes to the page at `index` and waits for its repaint, which is not a
// zoom step's.
void switchTo(Canvas &canvas, int index)
{
    const int before = canvas.updates.handled;
    const bool switched = canvas.view->document().gotoPage(index);
    waitForDecodes(canvas.view);
    while (switched && canvas.updates.handled == before)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// (c) Ctrl+wheel steps on a page of 1000 strokes and on one without, rounds
// interleaved.
void measureWheel(Canvas &canvas, int writtenIndex, int blankIndex)
{
    StepFigures written, blank;
    MainView *view = canvas.view;
    for (int round = 0; round < 6; ++round) {
        switchTo(canvas, writtenIndex);
        wheelRound(canvas, written);
        switchTo(canvas, blankIndex);
        wheelRound(canvas, blank);
    }
    std::printf("(c) Ctrl+wheel steps, each with the repaint it causes (6 rounds of 30 steps)\n");
    printSteps("1000 strokes:", written, frameBudget());
    printSteps("no strokes:", blank, frameBudget());
}

// Switches between the pages at `index` and after it, both shown at the same
// zoom (fitted when `zoom` is 0), each switch with its repaint.
double switchesMs(Canvas &canvas, int index, qreal zoom)
{
    MainView *view = canvas.view;
    for (int i : { index + 1, index }) {
        view->document().gotoPage(i);
        waitForDecodes(view);
        if (zoom > 0 && view->zoom() != zoom)
            zoomAtCentre(canvas, zoom);
        else if (zoom <= 0 && !view->isFitted()) {
            view->zoomToFit();
            settleMs(canvas);
        }
    }
    return switchesMs(view, { index + 1, index, index + 1, index });
}

// (d) A document of `count` pages of 30 strokes each: wheel steps on a page
// in its middle, and page switches to a neighbour at 400 % beside the same
// switches fitted.
void measureDocument(int count, const QList<QPixmap> &pictures)
{
    Canvas canvas;
    for (int i = 0; i < count; ++i)
        addPage(canvas.view, pictures.at(i % pictures.size()), 30, 500 + i);
    canvas.window->show();
    const int middle = count / 2 - (count > 1 ? 1 : 0);
    canvas.view->document().gotoPage(middle);
    waitForDecodes(canvas.view);
    QCoreApplication::processEvents();
    StepFigures figures;
    for (int round = 0; round < 3; ++round)
        wheelRound(canvas, figures);
    std::printf("    %3d pages:  step median %7.3f ms, worst %7.3f ms; settle median %7.3f ms\n",
                count, median(figures.steps), worst(figures.steps), median(figures.settles));
    if (count < 2)
        return;
    BenchRounds rounds;
    rounds.add("switch to a neighbour at 400 %", [&] { return switchesMs(canvas, middle, Zoom); });
    rounds.add("switch to a neighbour fitted", [&] { return switchesMs(canvas, middle, 0); });
    rounds.run(5);
    rounds.print("switch to a neighbour at 400 %");
    rounds.print("switch to a neighbour fitted");
    std::printf("    at 400 %% against fitted:\n  ");
    rounds.printRatio("switch to a neighbour at 400 %", "switch to a neighbour fitted", 0);
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bench = BenchPage::fromEnvironment();
    pageSize = bench.logical;
    QTemporaryDir dir;
    QDir().mkpath(AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/")));
    const QList<QPixmap> pictures { devicePicture(9), devicePicture(10), devicePicture(11) };

    Canvas canvas;
    addPage(canvas.view, pictures.at(0), 0, 1);
    const int written = 1;
    addPage(canvas.view, pictures.at(1), 1000, 11);
    canvas.window->show();
    QCoreApplication::processEvents();
    waitForDecodes(canvas.view);
    std::printf("a %d x %d page (%d x %d device pixels) with a picture background; frame "
                "budget %.0f ms\n",
                pageSize.width(), pageSize.height(), bench.device.width(), bench.device.height(),
                frameBudget());
    measureRepaint(canvas);
    canvas.view->zoomToFit();
    settleMs(canvas);
    measureWheel(canvas, written, 0);
    // The pen's strokes go on a page of their own, so that they weigh on no
    // other figure.
    addPage(canvas.view, pictures.at(2), 1000, 12);
    waitForDecodes(canvas.view);
    zoomAtCentre(canvas, Zoom);
    measurePenMove(canvas);
    canvas.window.reset();

    std::printf("(d) documents of 30 strokes a page: wheel steps on a page in the middle "
                "(3 rounds of 30 steps), page switches\n");
    for (int count : { 1, 20, 100 })
        measureDocument(count, pictures);
    return 0;
}
