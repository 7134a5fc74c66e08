#include "objselect.h"

#include "pixelround.h"

#include <QImage>
#include <QPainter>

ObjSelect::ObjSelect()
{
    kind = KindSelect;
}

ObjSelect::~ObjSelect()
{
    delete image;
}

void ObjSelect::setImage(QImage *img)
{
    if (img == image)
        return;
    delete image;
    image = img;
}

void ObjSelect::clear()
{
    path = QPainterPath();
    setImage(nullptr);
}

void ObjSelect::paint(QPainter *p)
{
    p->save();
    p->save();
    p->setCompositionMode(QPainter::CompositionMode_DestinationOut);
    p->fillPath(path, Qt::black);
    p->restore();
    if (image)
        p->drawImage(rect, *image, QRectF(0, 0, image->width(), image->height()));
    p->restore();
}

QRect ObjSelect::paintRect() const
{
    const QRectF r = rect.united(path.boundingRect());
    return PixelRound::rect(
        QRectF(float(r.x()) - 2, float(r.y()) - 2, float(r.width()) + 4, float(r.height()) + 4));
}

Obj *ObjSelect::clone() const
{
    ObjSelect *copy = new ObjSelect;
    copyTo(copy);
    copy->path = path;
    if (image)
        copy->setImage(new QImage(image->copy()));
    return copy;
}
