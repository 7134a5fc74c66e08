#include "objshape.h"

#include "pixelround.h"

#include <QPainter>
#include <QPainterPathStroker>
#include <QPolygonF>

ObjShape::ObjShape()
{
    kind = KindShape;
}

void ObjShape::buildPath(QPainterPath &out) const
{
    const QRectF r = rect.normalized();
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    const double cx = x + w / 2, cy = y + h / 2;
    // Some figures take their centre in single precision.
    const double fcx = float(x) + float(w) / 2, fcy = float(y) + float(h) / 2;
    auto polygon = [&out](std::initializer_list<QPointF> points) {
        out.addPolygon(QPolygonF(QList<QPointF>(points)));
    };
    auto tail = [&]() {
        QPainterPath t;
        t.addPolygon(QPolygonF({ QPointF(x + w / 4, cy), QPointF(x + w / 4, y + h),
                                 QPointF(fcx, cy), QPointF(x + w / 4, cy) }));
        return t;
    };
    switch (shapeType) {
    case Ellipse:
        out.addEllipse(r);
        break;
    case Rectangle:
        out.addRect(r);
        break;
    case RoundedRectangle:
        out.addRoundedRect(r, 30, 30, Qt::RelativeSize);
        break;
    case Triangle:
        polygon({ { fcx, y }, { x + w, y + h }, { x, y + h }, { fcx, y } });
        break;
    case RightTriangle:
        polygon({ { x, y }, { x + w, y + h }, { x, y + h }, { x, y } });
        break;
    case Diamond:
        polygon({ { x + w, cy }, { cx, y + h }, { x, cy }, { cx, y }, { x + w, cy } });
        break;
    case Pentagon:
        polygon({ { fcx, y },
                  { x + w, y + 2 * h / 5 },
                  { x + 4 * w / 5, y + h },
                  { x + w / 5, y + h },
                  { x, y + 2 * h / 5 },
                  { fcx, y } });
        break;
    case Hexagon:
        polygon({ { fcx, y + h },
                  { x, y + 4 * h / 5 },
                  { x, y + h / 5 },
                  { fcx, y },
                  { x + w, y + h / 5 },
                  { x + w, y + 4 * h / 5 },
                  { fcx, y + h } });
        break;
    case Trapezoid: {
        const double q1 = float(x) + float(w) / 4, q3 = float(x) + 3 * float(w) / 4;
        polygon({ { q1, y }, { q3, y }, { x + w, y + h }, { x, y + h }, { q1, y } });
        break;
    }
    case Parallelogram:
        polygon({ { x + 3 * w / 4, y + h },
                  { x, y + h },
                  { x + w / 4, y },
                  { x + w, y },
                  { x + 3 * w / 4, y + h } });
        break;
    case Star4:
        polygon({ { x + w, fcy },
                  { x + 5 * w / 8, y + 5 * h / 8 },
                  { fcx, y + h },
                  { x + 3 * w / 8, y + 5 * h / 8 },
                  { x, fcy },
                  { x + 3 * w / 8, y + 3 * h / 8 },
                  { fcx, y },
                  { x + 5 * w / 8, y + 3 * h / 8 },
                  { x + w, fcy } });
        break;
    case Star5:
        polygon({ { fcx, y },
                  { x + 3 * w / 5, y + h / 3 },
                  { x + w, y + h / 3 },
                  { x + 2 * w / 3, y + 3 * h / 5 },
                  { x + 4 * w / 5, y + h },
                  { fcx, y + 3 * h / 4 },
                  { x + w / 5, y + h },
                  { x + w / 3, y + 3 * h / 5 },
                  { x, y + h / 3 },
                  { x + 2 * w / 5, y + h / 3 },
                  { fcx, y } });
        break;
    case Star6:
        polygon({ { cx, y },
                  { x + 4 * w / 6, y + h / 4 },
                  { x + w, y + h / 4 },
                  { x + 5 * w / 6, cy },
                  { x + w, y + 3 * h / 4 },
                  { x + 4 * w / 6, y + 3 * h / 4 },
                  { cx, y + h },
                  { x + 2 * w / 6, y + 3 * h / 4 },
                  { x, y + 3 * h / 4 },
                  { x + w / 6, cy },
                  { x, y + h / 4 },
                  { x + 2 * w / 6, y + h / 4 },
                  { cx, y } });
        break;
    case RoundedBubble: {
        QPainterPath body;
        body.addRoundedRect(QRectF(x, y, w, 5 * h / 6), 30, 40, Qt::RelativeSize);
        out.addPath(body.united(tail()));
        break;
    }
    case OvalBubble: {
        QPainterPath body;
        body.addEllipse(QRectF(x, y, w, 5 * h / 6));
        out.addPath(body.united(tail()));
        break;
    }
    case Arrow:
        polygon({ { fcx, y },
                  { x + w, y + 2 * h / 5 },
                  { x + 3 * w / 4, y + 2 * h / 5 },
                  { x + 3 * w / 4, y + h },
                  { x + w / 4, y + h },
                  { x + w / 4, y + 2 * h / 5 },
                  { x, y + 2 * h / 5 },
                  { fcx, y } });
        break;
    case Tick:
        polygon({ { x, y + 7 * h / 10 },
                  { x + 3 * w / 10, y + h },
                  { x + w, y + h / 10 },
                  { x + 9 * w / 10, y },
                  { x + 3 * w / 10, y + 8 * h / 10 },
                  { x + w / 10, y + 6 * h / 10 },
                  { x, y + 7 * h / 10 } });
        break;
    case Cross:
        polygon({ { x, y + 9 * h / 10 },
                  { x + w / 10, y + h },
                  { cx, y + 6 * h / 10 },
                  { x + 9 * w / 10, y + h },
                  { x + w, y + 9 * h / 10 },
                  { x + 6 * w / 10, cy },
                  { x + w, y + h / 10 },
                  { x + 9 * w / 10, y },
                  { cx, y + 4 * h / 10 },
                  { x + w / 10, y },
                  { x, y + h / 10 },
                  { x + 4 * w / 10, cy },
                  { x, y + 9 * h / 10 } });
        break;
    default:
        break;
    }
}

void ObjShape::paint(QPainter *p)
{
    p->save();
    p->setOpacity(opacity / 100.0);
    p->setRenderHint(QPainter::Antialiasing, true);
    QPainterPath path;
    buildPath(path);
    if (shadow) {
        // Drawn with whatever brush the painter has: the layer painter has
        // none, so only the outline casts a shadow.
        p->translate(1.0, 1.0);
        p->setPen(
            QPen(QColor(0, 0, 0, 128), width, Qt::PenStyle(penStyle), Qt::FlatCap, Qt::RoundJoin));
        p->drawPath(path);
        p->translate(-1.0, -1.0);
    }
    p->setPen(QPen(colour, width, Qt::PenStyle(penStyle), Qt::FlatCap, Qt::RoundJoin));
    p->setBrush(fill);
    p->drawPath(path);
    p->restore();
}

QRect ObjShape::paintRect() const
{
    QPainterPath path;
    buildPath(path);
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::FlatCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return PixelRound::rect(stroker.createStroke(path).boundingRect()).adjusted(-3, -3, 3, 3);
}

Obj *ObjShape::clone() const
{
    ObjShape *copy = new ObjShape;
    copyTo(copy);
    copy->shapeType = shapeType;
    copy->penStyle = penStyle;
    copy->fill = fill;
    return copy;
}
