#include "objimage.h"

#include <QPainterPath>
#include <QTransform>

ObjImage::ObjImage(const QRectF &r)
    : Obj(r)
{
}

int ObjImage::hitTest(const QPointF &pt, bool handles) const
{
    if (handles)
        return Obj::hitTest(pt, true);
    QTransform rotation;
    rotation.translate(centre.x(), centre.y());
    rotation.rotate(angle);
    rotation.translate(-centre.x(), -centre.y());
    QPainterPath body;
    body.addRect(rect);
    return rotation.map(body).contains(pt) ? 1 : 0;
}

Obj *ObjImage::cloneInto(ObjImage *copy) const
{
    copy->load(path);
    copyTo(copy);
    return copy;
}
