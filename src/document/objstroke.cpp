#include "objstroke.h"

#include "pixelround.h"
#include "visiblepath.h"

#include <QPainter>

#include <cmath>

ObjStroke::ObjStroke()
{
    kind = KindStroke;
}

void ObjStroke::paint(QPainter *p)
{
    switch (strokeKind) {
    case Pen:
        paintPen(p);
        break;
    case Highlighter:
        paintHighlighter(p);
        break;
    case Brush:
        paintBrush(p);
        break;
    default:
        break;
    }
}

// The pen draws a stroke piece by piece, each with round ends: the press dot
// with the first curve, then one curve a piece. A repaint draws the same
// pieces, so that it equals the live stroke; stroked as one path, the first
// curve turning back from the dot leaves a light ring inside thick strokes.
void ObjStroke::paintPen(QPainter *p) const
{
    if (path.isEmpty())
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->setBrush(Qt::NoBrush);
    const QRectF area = VisiblePath::clipArea(p, width / 2.0 + 2);
    const auto draw = [p, &area](const QPainterPath &piece) {
        if (piece.elementCount() > 1
            && (area.isNull() || area.intersects(piece.controlPointRect().adjusted(-1, -1, 1, 1))))
            p->drawPath(piece);
    };
    QPainterPath piece(path.elementAt(0));
    for (int i = 1; i < path.elementCount(); ++i) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isMoveTo()) {
            draw(piece);
            piece = QPainterPath(e);
        } else if (e.isLineTo()) {
            piece.lineTo(e);
        } else if (i + 2 < path.elementCount()) {
            const QPointF end = path.elementAt(i + 2);
            piece.cubicTo(e, path.elementAt(i + 1), end);
            i += 2;
            draw(piece);
            piece = QPainterPath(end);
        }
    }
    draw(piece);
    p->restore();
}

void ObjStroke::paintHighlighter(QPainter *p) const
{
    if (path.isEmpty())
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setOpacity(0.4);
    // Stretching the path and squeezing the painter keeps the stroke in place
    // while the round nib becomes a quarter as wide as it is tall.
    QPainterPath stretched = VisiblePath::forPainter(p, path, width / 2.0 + 2);
    for (int i = 0; i < stretched.elementCount(); ++i) {
        const QPainterPath::Element e = stretched.elementAt(i);
        stretched.setElementPositionAt(i, e.x * 4.0, e.y);
    }
    p->scale(0.25, 1.0);
    p->setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p->setBrush(Qt::NoBrush);
    p->drawPath(stretched);
    p->restore();
}

void ObjStroke::paintBrush(QPainter *p) const
{
    if (path.isEmpty())
        return;
    p->save();
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setPen(QPen(QColor(colour.red(), colour.green(), colour.blue(), 50), 2.0, Qt::SolidLine,
                   Qt::FlatCap, Qt::MiterJoin));
    p->setBrush(colour);
    // Elements 0 and 1 are the press point and its dot; every later element
    // carries the pressure recorded when it was appended, so that a repaint
    // draws exactly what the pen drew live.
    QPointF prev = path.elementAt(0);
    float last = -1;
    for (int i = BrushFirstElement; i < path.elementCount(); ++i) {
        const int sample = i - BrushFirstElement;
        if (sample >= pressures.size())
            break;
        const QPointF pos = path.elementAt(i);
        paintBrushSegment(p, prev, pos, pressures.at(sample), last);
        prev = pos;
    }
    p->restore();
}

void ObjStroke::paintBrushSegment(QPainter *p, const QPointF &p1, const QPointF &p2, float pressure,
                                  float &last) const
{
    const float w = pressure * width + 1.0f;
    if (last < 0) {
        p->drawEllipse(p2, w / 2, w / 2);
        last = w;
        return;
    }
    // Dots of a segment outside the clip would only be clipped away.
    const float pad = std::max(last, w) / 2 + 2;
    const QRectF area = VisiblePath::clipArea(p, pad);
    if (!area.isNull() && !area.intersects(QRectF(p1, p2).normalized().adjusted(-1, -1, 1, 1))) {
        last = w;
        return;
    }
    const float x1 = p1.x(), y1 = p1.y(), dx = p2.x() - x1, dy = p2.y() - y1;
    const float length = std::sqrt(dx * dx + dy * dy);
    for (float t = 0; t <= length;) {
        const float f = t == 0 ? 0 : t / length;
        const float d = last + (w - last) * f;
        p->drawEllipse(QPointF(x1 + dx * f, y1 + dy * f), d / 2, d / 2);
        t += d <= 16 ? 1.0f : std::sqrt((d - 16) * (d - 16) * 0.1f + 1);
    }
    last = w;
}

QRect ObjStroke::paintRect() const
{
    const int grow = width / 2 + 2;
    return PixelRound::rect(path.boundingRect()).adjusted(-grow, -grow, grow, grow);
}

Obj *ObjStroke::clone() const
{
    ObjStroke *copy = new ObjStroke;
    copyTo(copy);
    copy->strokeKind = strokeKind;
    copy->path = path;
    copy->pressures = pressures;
    return copy;
}
