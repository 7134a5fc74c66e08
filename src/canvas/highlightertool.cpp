#include "highlightertool.h"

#include "document/addcommand.h"
#include "document/objectcodec.h"
#include "mainview.h"
#include "pentool.h"

#include <QImage>
#include <QPainter>

HighlighterTool::HighlighterTool()
{
    strokeTemplate.strokeKind = ObjStroke::Highlighter;
    strokeTemplate.width = 30;
    strokeTemplate.colour = Qt::yellow;
}

void HighlighterTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (onlyButton(event, true)) {
        strokeTemplate.path = QPainterPath(pt);
        moved = false;
        gesture().pressed = true;
    }
    Tool::mousePress(view, pt, event);
}

void HighlighterTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    view->setDrawCursor();
    if (gesture().pressed && buttonHeld(event, true)) {
        extendTo(view, pt);
        moved = true;
    }
    Tool::mouseMove(view, pt, event);
}

void HighlighterTool::extendTo(MainView *view, const QPointF &pt)
{
    strokeTemplate.path.lineTo(pt);
    view->repaint(PenTool::pieceRect(QRectF(gesture().lastPoint, pt), strokeTemplate.width));
    // A document keeps strokes up to a length: a longer one is kept in parts.
    if (strokeTemplate.path.elementCount() >= ObjectCodec::MaxPathElements) {
        keep(view);
        strokeTemplate.path = QPainterPath(pt);
    }
}

void HighlighterTool::keep(MainView *view)
{
    if (QImage *layer = view->layer()) {
        QPainter painter(layer);
        strokeTemplate.paint(&painter);
    }
    view->pushCommand(new AddCommand(view, strokeTemplate.clone()));
}

void HighlighterTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (gesture().pressed && moved) {
        extendTo(view, pt);
        keep(view);
    }
    moved = false;
    Tool::mouseRelease(view, pt, event);
}

void HighlighterTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mousePress(view, pt, event);
}

void HighlighterTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().pressed)
        return;
    painter->save();
    strokeTemplate.paint(painter);
    painter->restore();
}
