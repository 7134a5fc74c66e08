#include "objeraser.h"

#include "pixelround.h"
#include "visiblepath.h"

#include <QPainter>

ObjEraser::ObjEraser()
{
    kind = KindEraser;
}

void ObjEraser::appendSegment(const QPointF &a, const QPointF &b)
{
    points.append(a);
    points.append(b);
}

void ObjEraser::paint(QPainter *p)
{
    p->save();
    p->setRenderHint(QPainter::Antialiasing, true);
    p->setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p->setPen(QPen(Qt::black, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const QRectF area = VisiblePath::clipArea(p, width / 2.0 + 2);
    for (int i = 0; i + 1 < points.size(); i += 2) {
        const QLineF segment(points.at(i), points.at(i + 1));
        const QRectF bounds = QRectF(segment.p1(), segment.p2()).normalized();
        if (area.isNull() || area.intersects(bounds.adjusted(-1, -1, 1, 1)))
            p->drawLine(segment);
    }
    p->restore();
}

QRect ObjEraser::paintRect() const
{
    if (points.isEmpty())
        return QRect();
    qreal left = points.first().x(), right = left, top = points.first().y(), bottom = top;
    for (const QPointF &pt : points) {
        left = std::min(left, pt.x());
        right = std::max(right, pt.x());
        top = std::min(top, pt.y());
        bottom = std::max(bottom, pt.y());
    }
    const int grow = width / 2 + 2;
    return PixelRound::rect(QRectF(QPointF(left, top), QPointF(right, bottom)))
        .adjusted(-grow, -grow, grow, grow);
}

Obj *ObjEraser::clone() const
{
    ObjEraser *copy = new ObjEraser;
    copyTo(copy);
    copy->points = points;
    return copy;
}
