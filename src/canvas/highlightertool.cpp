#include "highlightertool.h"

#include "document/addcommand.h"
#include "document/objectcodec.h"
#include "pentool.h"

#include <QImage>
#include <QPainter>

HighlighterTool::HighlighterTool()
{
    strokeTemplate.strokeKind = ObjStroke::Highlighter;
    strokeTemplate.width = 30;
    strokeTemplate.colour = Qt::yellow;
}

void HighlighterTool::begin(ToolHost *, const Input &input)
{
    strokeTemplate.path = QPainterPath(input.point);
    moved = false;
}

void HighlighterTool::hover(ToolHost *host, const Input &)
{
    host->setDrawCursor();
}

void HighlighterTool::move(ToolHost *host, const Input &input)
{
    host->setDrawCursor();
    extendTo(host, input.point);
    moved = true;
}

void HighlighterTool::extendTo(ToolHost *host, const QPointF &pt)
{
    strokeTemplate.path.lineTo(pt);
    host->repaint(PenTool::pieceRect(QRectF(gesture().lastPoint, pt), strokeTemplate.width));
    // A document keeps strokes up to a length: a longer one is kept in parts.
    if (strokeTemplate.path.elementCount() >= ObjectCodec::MaxPathElements) {
        keep(host);
        strokeTemplate.path = QPainterPath(pt);
    }
}

void HighlighterTool::keep(ToolHost *host)
{
    host->paintLayer([this](QPainter &painter) { strokeTemplate.paint(&painter); });
    host->pushCommand(new AddCommand(host, strokeTemplate.clone()));
}

void HighlighterTool::end(ToolHost *host, const Input &input)
{
    if (moved) {
        extendTo(host, input.point);
        keep(host);
    }
    moved = false;
}

// Only the preview shows what the gesture drew.
void HighlighterTool::cancel(ToolHost *host)
{
    host->repaint(PenTool::pieceRect(strokeTemplate.path.controlPointRect(), strokeTemplate.width));
    moved = false;
}

void HighlighterTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    mousePress(host, pt, event);
}

void HighlighterTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().active)
        return;
    painter->save();
    strokeTemplate.paint(painter);
    painter->restore();
}
