#include "shapetool.h"

#include "document/addcommand.h"

#include <QImage>
#include <QPainter>

#include <cmath>

ShapeTool::ShapeTool()
{
    shapeTemplate.width = 10;
    shapeTemplate.colour = Qt::red;
}

void ShapeTool::begin(ToolHost *, const Input &)
{
    centred = false;
    shapeTemplate.rect = QRectF();
    shapeTemplate.centre = QPointF();
}

void ShapeTool::hover(ToolHost *host, const Input &)
{
    host->setDrawCursor();
}

void ShapeTool::move(ToolHost *host, const Input &input)
{
    host->setDrawCursor();
    fitTo(host, input);
}

QPointF ShapeTool::fitTo(ToolHost *host, const Input &input)
{
    shapeTemplate.update(host);
    const QPointF p = gesture().pressPoint;
    QPointF q = input.point;
    if (input.modifiers.testFlag(Qt::ShiftModifier))
        q.setY(p.y() + (q.x() - p.x()));
    centred = input.secondary();
    if (centred) {
        const float a = std::abs(float(p.x() - q.x()));
        const float b = std::abs(float(p.y() - q.y()));
        shapeTemplate.rect = QRectF(QPointF(p.x() - a, p.y() - b), QPointF(p.x() + a, p.y() + b));
    } else {
        // Kept unnormalised: the figure normalises it itself.
        shapeTemplate.rect = QRectF(p.x(), p.y(), q.x() - p.x(), q.y() - p.y());
    }
    shapeTemplate.centre = shapeTemplate.rect.center();
    shapeTemplate.update(host);
    return q;
}

void ShapeTool::end(ToolHost *host, const Input &input)
{
    const QPointF d = fitTo(host, input) - gesture().pressPoint;
    centred = false;
    if (std::abs(d.x()) < 1e-12 && std::abs(d.y()) < 1e-12)
        return;
    host->paintLayer([this](QPainter &painter) { shapeTemplate.paint(&painter); });
    host->pushCommand(new AddCommand(host, shapeTemplate.clone()));
}

void ShapeTool::cancel(ToolHost *host)
{
    shapeTemplate.update(host);
    centred = false;
}

void ShapeTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    mousePress(host, pt, event);
}

void ShapeTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().active)
        return;
    painter->save();
    shapeTemplate.paint(painter);
    painter->restore();
    if (centred)
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
