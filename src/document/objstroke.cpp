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

namespace {
// The nib's path from a circle of radius r1 at c1 to one of radius r2 at c2,
// its width changing evenly: the quadrilateral between the circles' outer
// tangents (empty when one circle holds the other).
QPolygonF nibTrail(const QPointF &c1, float r1, const QPointF &c2, float r2)
{
    const QPointF d = c2 - c1;
    const double length = std::hypot(d.x(), d.y());
    if (length <= std::abs(r2 - r1))
        return QPolygonF();
    const QPointF u = d / length, n(-u.y(), u.x());
    const double c = (r1 - r2) / length, s = std::sqrt(1 - c * c);
    const QPointF a = u * c + n * s, b = u * c - n * s;
    return QPolygonF({ c1 + a * r1, c2 + a * r2, c2 + b * r2, c1 + b * r1 });
}

// The brush's soft rim: a pixel wide, drawn under each piece so that where
// pieces overlap it darkens as stamped ink does.
constexpr float RimAlpha = 0.3f;

void paintNib(QPainter *p, const QPointF &c1, float r1, const QPointF &c2, float r2)
{
    p->drawEllipse(c2, r2, r2);
    const QPolygonF trail = nibTrail(c1, r1, c2, r2);
    if (!trail.isEmpty())
        p->drawConvexPolygon(trail);
}
} // namespace

void ObjStroke::paintBrushSegment(QPainter *p, const QPointF &p1, const QPointF &p2, float pressure,
                                  float &last) const
{
    const float w = pressure * width + 1.0f;
    // The first piece is the press's dot alone.
    const QPointF from = last < 0 ? p2 : p1;
    const float r1 = last < 0 ? w / 2 : last / 2, r2 = w / 2;
    // Pieces outside the clip would only be clipped away.
    const QRectF area = VisiblePath::clipArea(p, std::max(r1, r2) + 2);
    last = w;
    if (!area.isNull() && !area.intersects(QRectF(p1, p2).normalized().adjusted(-1, -1, 1, 1)))
        return;
    QColor rim = colour;
    rim.setAlphaF(colour.alphaF() * RimAlpha);
    p->setPen(Qt::NoPen);
    p->setBrush(rim);
    paintNib(p, from, r1 + 1, p2, r2 + 1);
    p->setBrush(colour);
    paintNib(p, from, r1, p2, r2);
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
