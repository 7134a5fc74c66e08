#include "linetool.h"

#include "document/addcommand.h"

#include <QImage>
#include <QPainter>

#include <cmath>

void LineTool::begin(ToolHost *, const Input &)
{
    lineTemplate.line = QLineF();
}

void LineTool::hover(ToolHost *host, const Input &)
{
    host->setDrawCursor();
}

void LineTool::move(ToolHost *host, const Input &input)
{
    host->setDrawCursor();
    stretchTo(host, input);
}

void LineTool::stretchTo(ToolHost *host, const Input &input)
{
    lineTemplate.update(host);
    QPointF end = input.point;
    if (input.modifiers.testFlag(Qt::ShiftModifier))
        end = snapped(gesture().pressPoint, end);
    lineTemplate.line = QLineF(gesture().pressPoint, end);
    lineTemplate.update(host);
}

void LineTool::end(ToolHost *host, const Input &input)
{
    stretchTo(host, input);
    const QPointF d = lineTemplate.line.p2() - gesture().pressPoint;
    if (std::abs(d.x()) < 1e-12 && std::abs(d.y()) < 1e-12)
        return;
    host->paintLayer([this](QPainter &painter) { lineTemplate.paint(&painter); });
    host->pushCommand(new AddCommand(host, lineTemplate.clone()));
}

void LineTool::cancel(ToolHost *host)
{
    lineTemplate.update(host);
}

void LineTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    mousePress(host, pt, event);
}

void LineTool::paint(QPainter *painter, const QRegion &)
{
    if (!gesture().active)
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
