#include "pentool.h"

#include "document/addcommand.h"
#include "document/objectcodec.h"
#include "document/pixelround.h"
#include "linetool.h"
#include "presenterkit.h"

#include <QImage>
#include <QPainter>

#include <cmath>

namespace {
// Closer points are skipped: fewer pieces, and a smoother curve.
constexpr float minStep = 4;
} // namespace

PenTool::PenTool() = default;

bool PenTool::begins(const Input &input) const
{
    return input.buttons == Qt::LeftButton
        || (input.secondary() && input.buttons == Qt::RightButton);
}

void PenTool::begin(ToolHost *, const Input &input)
{
    if (!gesture().mode)
        return beginFreehand(input);
    lineTemplate.line = QLineF();
    lineTemplate.endCap
        = gesture().button == Qt::RightButton ? ObjLine::FilledArrow : ObjLine::NoCap;
}

void PenTool::beginFreehand(const Input &input)
{
    const QPointF pt = input.point;
    strokeTemplate.strokeKind = input.pressure < 0 ? ObjStroke::Pen : ObjStroke::Brush;
    // The tiny second point makes a click alone leave a dot.
    strokeTemplate.path = QPainterPath(pt);
    strokeTemplate.path.lineTo(pt + QPointF(0.05, 0.05));
    strokeTemplate.pressures.clear();
    piece = strokeTemplate.path;
    previous = pt;
    lastMid = pt;
    lastStampDiameter = -1;
    inked = QRect();
}

void PenTool::hover(ToolHost *host, const Input &)
{
    host->setDrawCursor();
}

void PenTool::move(ToolHost *host, const Input &input)
{
    host->setDrawCursor();
    const QPointF pt = input.point;
    if (gesture().mode)
        moveStraight(host, input);
    else if (std::abs(float(pt.x()) - float(previous.x())) >= minStep
             || std::abs(float(pt.y()) - float(previous.y())) >= minStep)
        appendPiece(host, input);
}

void PenTool::moveStraight(ToolHost *host, const Input &input)
{
    lineTemplate.update(host);
    QPointF end = input.point;
    if (input.modifiers.testFlag(Qt::ShiftModifier))
        end = LineTool::snapped(gesture().pressPoint, end);
    lineTemplate.line = QLineF(gesture().pressPoint, end);
    lineTemplate.update(host);
}

void PenTool::appendPiece(ToolHost *host, const Input &input)
{
    const QPointF mid = (previous + input.point) / 2;
    paintPiece(host, mid, input.pressure);
    // The control points enclose the curve and cost less to bound.
    const QRect area = pieceRect(piece.controlPointRect(), strokeTemplate.width);
    inked |= area;
    host->repaint(area);
    previous = input.point;
    lastMid = mid;
    piece.clear();
    piece.moveTo(lastMid);
    if (strokeTemplate.path.elementCount() > ObjectCodec::MaxPathElements - 4)
        continueStroke(host);
}

// A document keeps strokes up to a length; a longer one goes on as a new
// stroke from where the last piece ended, painted already, so nothing drawn
// is left out when the page is opened again.
void PenTool::continueStroke(ToolHost *host)
{
    keep(host, strokeTemplate.clone());
    strokeTemplate.path = QPainterPath(lastMid);
    strokeTemplate.path.lineTo(lastMid + QPointF(0.05, 0.05));
    strokeTemplate.pressures.clear();
    if (PresenterKit::instance().fadingInk())
        return;
    // The new stroke's dot lies on the last piece's round end; the join is
    // painted again from the page so that it shows as the page will open.
    const QRect join = pieceRect(QRectF(lastMid, QSizeF(0.05, 0.05)), strokeTemplate.width);
    host->updateObjectCache(host->currentPage(), join);
    host->repaint(join);
}

// The layer may be painted more than once (the page's own and the zoomed
// view's): the piece is added to the stroke first, then painted.
void PenTool::paintPiece(ToolHost *host, const QPointF &mid, float pressure)
{
    if (strokeTemplate.strokeKind == ObjStroke::Brush) {
        strokeTemplate.path.lineTo(mid);
        piece.lineTo(mid);
        strokeTemplate.pressures.append(pressure);
        const float stampBefore = lastStampDiameter;
        host->paintLayer([&](QPainter &painter) {
            lastStampDiameter = stampBefore;
            strokeTemplate.paintBrushSegment(&painter, lastMid, mid, pressure, lastStampDiameter);
        });
        return;
    }
    strokeTemplate.path.quadTo(previous, mid);
    piece.quadTo(previous, mid);
    host->paintLayer([this](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setPen(QPen(strokeTemplate.colour, strokeTemplate.width, Qt::SolidLine,
                            Qt::RoundCap, Qt::RoundJoin));
        painter.drawPath(piece);
    });
}

void PenTool::end(ToolHost *host, const Input &input)
{
    if (gesture().mode) {
        moveStraight(host, input);
        finishStraight(host);
    } else {
        appendPiece(host, input);
        keep(host, strokeTemplate.clone());
    }
    lastStampDiameter = -1;
}

// The pieces painted so far leave the layer as the page has it there.
void PenTool::cancel(ToolHost *host)
{
    lastStampDiameter = -1;
    if (gesture().mode) {
        lineTemplate.update(host);
        return;
    }
    if (inked.isEmpty())
        return;
    host->updateObjectCache(host->currentPage(), inked);
    host->repaint(inked);
}

void PenTool::finishStraight(ToolHost *host)
{
    const QPointF d = lineTemplate.line.p2() - gesture().pressPoint;
    if (std::abs(d.x()) < 1e-12 && std::abs(d.y()) < 1e-12)
        return;
    if (PresenterKit::instance().fadingInk())
        return keep(host, lineTemplate.clone());
    host->paintLayer([this](QPainter &painter) { lineTemplate.paint(&painter); });
    keep(host, lineTemplate.clone());
}

// Fading ink never reaches the page.
void PenTool::keep(ToolHost *host, Obj *obj)
{
    if (PresenterKit::instance().fadingInk())
        PresenterKit::instance().takeStroke(host, obj);
    else
        host->pushCommand(new AddCommand(host, obj));
}

void PenTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    mousePress(host, pt, event);
}

void PenTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().active || !gesture().mode)
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
