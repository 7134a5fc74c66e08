#include "shapetool.h"

#include "document/addcommand.h"
#include "mainview.h"

#include <QImage>
#include <QPainter>

#include <cmath>

ShapeTool::ShapeTool()
{
    shapeTemplate.width = 10;
    shapeTemplate.colour = Qt::red;
}

void ShapeTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    gesture().mode = false;
    if (onlyButton(event, true)) {
        shapeTemplate.rect = QRectF();
        shapeTemplate.centre = QPointF();
        gesture().pressed = true;
    }
    Tool::mousePress(view, pt, event);
}

void ShapeTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *event)
{
    view->setDrawCursor();
    QPointF last = pt;
    if (gesture().pressed && buttonHeld(event, true))
        last = fitTo(view, pt, event);
    Tool::mouseMove(view, last, event);
}

QPointF ShapeTool::fitTo(MainView *view, const QPointF &pt, QInputEvent *event)
{
    shapeTemplate.update(view);
    const QPointF p = gesture().pressPoint;
    QPointF q = pt;
    const Qt::KeyboardModifiers mods = modifiersOf(event);
    if (mods.testFlag(Qt::ShiftModifier))
        q.setY(p.y() + (q.x() - p.x()));
    gesture().mode = mods.testFlag(Qt::ControlModifier);
    if (gesture().mode) {
        const float a = std::abs(float(p.x() - q.x()));
        const float b = std::abs(float(p.y() - q.y()));
        shapeTemplate.rect = QRectF(QPointF(p.x() - a, p.y() - b), QPointF(p.x() + a, p.y() + b));
    } else {
        // Kept unnormalised: the figure normalises it itself.
        shapeTemplate.rect = QRectF(p.x(), p.y(), q.x() - p.x(), q.y() - p.y());
    }
    shapeTemplate.centre = shapeTemplate.rect.center();
    shapeTemplate.update(view);
    return q;
}

void ShapeTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event)
{
    if (gesture().pressed) {
        const QPointF d = fitTo(view, pt, event) - gesture().pressPoint;
        if (std::abs(d.x()) >= 1e-12 || std::abs(d.y()) >= 1e-12) {
            if (QImage *layer = view->layer()) {
                QPainter painter(layer);
                shapeTemplate.paint(&painter);
            }
            view->pushCommand(new AddCommand(view, shapeTemplate.clone()));
        }
    }
    gesture().mode = false;
    Tool::mouseRelease(view, pt, event);
}

void ShapeTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mousePress(view, pt, event);
}

void ShapeTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().pressed)
        return;
    painter->save();
    shapeTemplate.paint(painter);
    painter->restore();
    if (gesture().mode)
        paintCentreMark(painter);
}

void ShapeTool::paintCentreMark(QPainter *painter) const
{
    const QPointF c = shapeTemplate.rect.center();
    painter->save();
    painter->setCompositionMode(QPainter::CompositionMode_Difference);
    painter->setPen(QPen(QColor(0, 255, 255)));
    painter->drawLine(c + QPointF(-4, 0), c + QPointF(4, 0));
    painter->drawLine(c + QPointF(0, -4), c + QPointF(0, 4));
    painter->restore();
}
