#include "erasertool.h"

#include "document/addcommand.h"
#include "document/objectcodec.h"
#include "mainview.h"
#include "pentool.h"

#include <QImage>
#include <QPainter>

EraserTool::EraserTool()
{
    eraserTemplate.width = 120;
}

void EraserTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (onlyButton(event, true)) {
        eraserTemplate.points.clear();
        moved = false;
        gesture().pressed = true;
        view->repaint(ringRect(pt).adjusted(-2, -2, 2, 2));
    }
    Tool::mousePress(view, pt, event);
}

void EraserTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    view->setDrawCursor();
    if (gesture().pressed && buttonHeld(event, true)) {
        eraseTo(view, pt);
        moved = true;
    }
    Tool::mouseMove(view, pt, event);
}

void EraserTool::eraseTo(MainView *view, const QPointF &pt)
{
    const QPointF from = gesture().lastPoint;
    eraserTemplate.appendSegment(from, pt);
    if (QImage *layer = view->layer()) {
        QPainter painter(layer);
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
        painter.setPen(
            QPen(Qt::black, eraserTemplate.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(from, pt);
    }
    view->repaint(PenTool::pieceRect(QRectF(from, pt), eraserTemplate.width));
    // A document keeps erasures up to a length: a longer one is kept in parts.
    if (eraserTemplate.points.size() >= ObjectCodec::MaxPathElements) {
        view->pushCommand(new AddCommand(view, eraserTemplate.clone()));
        eraserTemplate.points.clear();
    }
}

void EraserTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (gesture().pressed && moved) {
        eraseTo(view, pt);
        view->pushCommand(new AddCommand(view, eraserTemplate.clone()));
    } else if (gesture().pressed) {
        view->repaint(ringRect(gesture().lastPoint).adjusted(-2, -2, 2, 2));
    }
    moved = false;
    Tool::mouseRelease(view, pt, event);
}

void EraserTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mousePress(view, pt, event);
}

QRect EraserTool::ringRect(const QPointF &pt) const
{
    const int w = eraserTemplate.width;
    const int half = w / 2;
    return QRect(int(pt.x() - half), int(pt.y() - half), w, w);
}

void EraserTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().pressed)
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
