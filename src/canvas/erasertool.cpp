#include "erasertool.h"

#include "document/addcommand.h"
#include "document/objectcodec.h"
#include "pentool.h"

#include <QImage>
#include <QPainter>

EraserTool::EraserTool()
{
    eraserTemplate.width = 120;
}

void EraserTool::begin(ToolHost *host, const Input &input)
{
    eraserTemplate.points.clear();
    moved = false;
    erased = QRect();
    host->repaint(ringRect(input.point).adjusted(-2, -2, 2, 2));
}

void EraserTool::hover(ToolHost *host, const Input &)
{
    host->setDrawCursor();
}

void EraserTool::move(ToolHost *host, const Input &input)
{
    host->setDrawCursor();
    eraseTo(host, input.point);
    moved = true;
}

void EraserTool::eraseTo(ToolHost *host, const QPointF &pt)
{
    const QPointF from = gesture().lastPoint;
    eraserTemplate.appendSegment(from, pt);
    host->paintLayer([this, from, pt](QPainter &painter) {
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setPen(
            QPen(Qt::black, eraserTemplate.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(from, pt);
    });
    const QRect area = PenTool::pieceRect(QRectF(from, pt), eraserTemplate.width);
    erased |= area;
    host->repaint(area);
    // A document keeps erasures up to a length: a longer one is kept in parts.
    if (eraserTemplate.points.size() >= ObjectCodec::MaxPathElements) {
        host->pushCommand(new AddCommand(host, eraserTemplate.clone()));
        eraserTemplate.points.clear();
    }
}

void EraserTool::end(ToolHost *host, const Input &input)
{
    if (moved) {
        eraseTo(host, input.point);
        host->pushCommand(new AddCommand(host, eraserTemplate.clone()));
    } else {
        host->repaint(ringRect(gesture().lastPoint).adjusted(-2, -2, 2, 2));
    }
    moved = false;
}

// The cleared pixels come back from the page.
void EraserTool::cancel(ToolHost *host)
{
    if (!erased.isEmpty()) {
        host->updateObjectCache(host->currentPage(), erased);
        host->repaint(erased);
    }
    host->repaint(ringRect(gesture().lastPoint).adjusted(-2, -2, 2, 2));
    moved = false;
}

void EraserTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    mousePress(host, pt, event);
}

QRect EraserTool::ringRect(const QPointF &pt) const
{
    const int w = eraserTemplate.width;
    const int half = w / 2;
    return QRect(int(pt.x() - half), int(pt.y() - half), w, w);
}

void EraserTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().active)
        return;
    const QRect ring = ringRect(gesture().lastPoint);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(QColor(50, 50, 50, 200), 2, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawEllipse(ring);
    painter->setPen(
        QPen(QColor(240, 240, 240, 200), 3, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    painter->drawEllipse(ring.adjusted(2, 2, -2, -2));
    painter->restore();
}
