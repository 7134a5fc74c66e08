#include "pentool.h"

#include "document/addcommand.h"
#include "document/objectcodec.h"
#include "document/pixelround.h"
#include "linetool.h"
#include "mainview.h"
#include "presenterkit.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {
// Closer points are skipped: fewer pieces, and a smoother curve.
constexpr float minStep = 4;
} // namespace

PenTool::PenTool() = default;

void PenTool::mousePress(MainView *, const QPointF &pt, QInputEvent *event)
{
    gesture().mode = false;
    if (!modifiersOf(event).testFlag(Qt::ControlModifier)) {
        if (onlyButton(event, true))
            pressFreehand(pt, event);
    } else if (onlyButton(event, true) || onlyButton(event, false)) {
        pressStraight(event);
    }
    Tool::mousePress(nullptr, pt, event);
}

void PenTool::pressFreehand(const QPointF &pt, QInputEvent *event)
{
    strokeTemplate.strokeKind = pressureOf(event) < 0 ? ObjStroke::Pen : ObjStroke::Brush;
    // The tiny second point makes a click alone leave a dot.
    strokeTemplate.path = QPainterPath(pt);
    strokeTemplate.path.lineTo(pt + QPointF(0.05, 0.05));
    strokeTemplate.pressures.clear();
    piece = strokeTemplate.path;
    previous = pt;
    lastMid = pt;
    lastStampDiameter = -1;
    gesture().pressed = true;
    drawn = true;
}

void PenTool::pressStraight(QInputEvent *event)
{
    gesture().mode = true;
    lineTemplate.line = QLineF();
    lineTemplate.endCap = onlyButton(event, false) ? ObjLine::FilledArrow : ObjLine::NoCap;
    gesture().pressed = true;
}

void PenTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    view->setDrawCursor();
    const bool held = buttonHeld(event, true) || buttonHeld(event, false);
    if (gesture().pressed && gesture().mode && held) {
        moveStraight(view, pt, event);
        return;
    }
    if (gesture().pressed && drawn && held
        && (std::abs(float(pt.x()) - float(previous.x())) >= minStep
            || std::abs(float(pt.y()) - float(previous.y())) >= minStep))
        appendPiece(view, pt, event);
    Tool::mouseMove(view, pt, event);
}

void PenTool::moveStraight(MainView *view, const QPointF &pt, QInputEvent *event)
{
    lineTemplate.update(view);
    QPointF end = pt;
    if (modifiersOf(event).testFlag(Qt::ShiftModifier))
        end = LineTool::snapped(gesture().pressPoint, pt);
    lineTemplate.line = QLineF(gesture().pressPoint, end);
    lineTemplate.update(view);
    Tool::mouseMove(view, end, event);
}

void PenTool::appendPiece(MainView *view, const QPointF &pt, QInputEvent *event)
{
    const QPointF mid = (previous + pt) / 2;
    if (QImage *layer = view->layer()) {
        QPainter painter(layer);
        paintPiece(painter, mid, pressureOf(event));
    }
    // The control points enclose the curve and cost less to bound.
    view->repaint(pieceRect(piece.controlPointRect(), strokeTemplate.width));
    previous = pt;
    lastMid = mid;
    piece.clear();
    piece.moveTo(lastMid);
    if (strokeTemplate.path.elementCount() > ObjectCodec::MaxPathElements - 4)
        continueStroke(view);
}

// A document keeps strokes up to a length; a longer one goes on as a new
// stroke from where the last piece ended, painted already, so nothing drawn
// is left out when the page is opened again.
void PenTool::continueStroke(MainView *view)
{
    keep(view, strokeTemplate.clone());
    strokeTemplate.path = QPainterPath(lastMid);
    strokeTemplate.path.lineTo(lastMid + QPointF(0.05, 0.05));
    strokeTemplate.pressures.clear();
    if (PresenterKit::instance().fadingInk())
        return;
    // The new stroke's dot lies on the last piece's round end; the join is
    // painted again from the page so that it shows as the page will open.
    const QRect join = pieceRect(QRectF(lastMid, QSizeF(0.05, 0.05)), strokeTemplate.width);
    view->updateObjectCache(view->currentPage(), join);
    view->repaint(join);
}

void PenTool::paintPiece(QPainter &painter, const QPointF &mid, float pressure)
{
    if (strokeTemplate.strokeKind == ObjStroke::Brush) {
        strokeTemplate.path.lineTo(mid);
        piece.lineTo(mid);
        strokeTemplate.pressures.append(pressure);
        strokeTemplate.paintBrushSegment(&painter, lastMid, mid, pressure, lastStampDiameter);
        return;
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    strokeTemplate.path.quadTo(previous, mid);
    piece.quadTo(previous, mid);
    painter.setPen(QPen(strokeTemplate.colour, strokeTemplate.width, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawPath(piece);
}

void PenTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (gesture().pressed && gesture().mode) {
        moveStraight(view, pt, event);
        finishStraight(view);
    } else if (gesture().pressed && drawn) {
        appendPiece(view, pt, event);
        keep(view, strokeTemplate.clone());
    }
    drawn = false;
    lastStampDiameter = -1;
    Tool::mouseRelease(view, pt, event);
}

void PenTool::finishStraight(MainView *view)
{
    const QPointF d = lineTemplate.line.p2() - gesture().pressPoint;
    if (std::abs(d.x()) < 1e-12 && std::abs(d.y()) < 1e-12)
        return;
    if (PresenterKit::instance().fadingInk())
        return keep(view, lineTemplate.clone());
    if (QImage *layer = view->layer()) {
        QPainter painter(layer);
        lineTemplate.paint(&painter);
    }
    keep(view, lineTemplate.clone());
}

// Fading ink never reaches the page.
void PenTool::keep(MainView *view, Obj *obj)
{
    if (PresenterKit::instance().fadingInk())
        PresenterKit::instance().takeStroke(view, obj);
    else
        view->pushCommand(new AddCommand(view, obj));
}

void PenTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mousePress(view, pt, event);
}

void PenTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().pressed || !gesture().mode)
        return;
    painter->save();
    lineTemplate.paint(painter);
    painter->restore();
}

QRect PenTool::pieceRect(const QRectF &bounds, int width)
{
    const int k = width / 2;
    const QRect r = PixelRound::rect(bounds.normalized());
    return QRect(QPoint(r.x() - k - 2, r.y() - k - 2),
                 QPoint(r.x() + r.width() + k + 1, r.y() + r.height() + k + 1));
}
