#include "linetool.h"

#include "document/addcommand.h"
#include "mainview.h"

#include <QImage>
#include <QPainter>

#include <cmath>

void LineTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (onlyButton(event, true)) {
        lineTemplate.line = QLineF();
        gesture().pressed = true;
    }
    Tool::mousePress(view, pt, event);
}

void LineTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    view->setDrawCursor();
    if (gesture().pressed && buttonHeld(event, true))
        stretchTo(view, pt, event);
    else
        Tool::mouseMove(view, pt, event);
}

void LineTool::stretchTo(MainView *view, const QPointF &pt, QInputEvent *event)
{
    lineTemplate.update(view);
    QPointF end = pt;
    if (modifiersOf(event).testFlag(Qt::ShiftModifier))
        end = snapped(gesture().pressPoint, pt);
    lineTemplate.line = QLineF(gesture().pressPoint, end);
    lineTemplate.update(view);
    Tool::mouseMove(view, end, event);
}

void LineTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (gesture().pressed) {
        stretchTo(view, pt, event);
        const QPointF d = lineTemplate.line.p2() - gesture().pressPoint;
        if (std::abs(d.x()) >= 1e-12 || std::abs(d.y()) >= 1e-12) {
            if (QImage *layer = view->layer()) {
                QPainter painter(layer);
                lineTemplate.paint(&painter);
            }
            view->pushCommand(new AddCommand(view, lineTemplate.clone()));
        }
    }
    Tool::mouseRelease(view, pt, event);
}

void LineTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mousePress(view, pt, event);
}

void LineTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().pressed)
        return;
    painter->save();
    lineTemplate.paint(painter);
    painter->restore();
}

QPointF LineTool::snapped(const QPointF &from, const QPointF &to)
{
    QLineF line(from, to);
    line.setAngle(int(line.angle() / 15) * 15);
    return line.p2();
}
