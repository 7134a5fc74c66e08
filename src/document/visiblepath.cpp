#include "visiblepath.h"

#include <QPainter>

namespace VisiblePath {

QRectF clipArea(const QPainter *p, qreal pad)
{
    if (!p->hasClipping())
        return QRectF();
    return p->clipBoundingRect().adjusted(-pad, -pad, pad, pad);
}

static QRectF segmentBounds(const QPointF &a, const QPointF &b)
{
    return QRectF(a, b).normalized();
}

static QRectF curveBounds(const QPointF &a, const QPointF &c1, const QPointF &c2, const QPointF &b)
{
    return segmentBounds(a, b).united(segmentBounds(c1, c2));
}

// QRectF::intersects is false for the zero-width bounds of straight vertical
// or horizontal segments, so test the edges inclusively.
static bool touches(const QRectF &bounds, const QRectF &area)
{
    return bounds.left() <= area.right() && bounds.right() >= area.left()
        && bounds.top() <= area.bottom() && bounds.bottom() >= area.top();
}

QPainterPath clipped(const QPainterPath &path, const QRectF &area)
{
    QPainterPath out;
    QPointF last;
    bool joined = false; // whether out's current point is `last`
    const int count = path.elementCount();
    for (int i = 0; i < count;) {
        const QPainterPath::Element e = path.elementAt(i);
        if (e.isCurveTo() && i + 2 < count) {
            const QPointF c1 = e, c2 = path.elementAt(i + 1), to = path.elementAt(i + 2);
            const bool keep = touches(curveBounds(last, c1, c2, to), area);
            if (keep && !joined)
                out.moveTo(last);
            if (keep)
                out.cubicTo(c1, c2, to);
            joined = keep;
            last = to;
            i += 3;
            continue;
        }
        const QPointF to = e;
        const bool keep = e.isLineTo() && touches(segmentBounds(last, to), area);
        if (keep && !joined)
            out.moveTo(last);
        if (keep)
            out.lineTo(to);
        joined = keep;
        last = to;
        ++i;
    }
    return out;
}

QPainterPath forPainter(const QPainter *p, const QPainterPath &path, qreal pad)
{
    const QRectF area = clipArea(p, pad);
    if (area.isNull() || area.contains(path.boundingRect()))
        return path;
    return clipped(path, area);
}

} // namespace VisiblePath
