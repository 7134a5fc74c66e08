#include "imagestatic.h"

#include "pixelround.h"
#include "sharedpictures.h"

#include <QPainter>
#include <QPixmap>

ImageStatic::ImageStatic()
{
    kind = KindImageStatic;
}

ImageStatic::ImageStatic(const QRectF &r)
    : ObjImage(r)
{
    kind = KindImageStatic;
}

ImageStatic::~ImageStatic()
{
    release();
}

void ImageStatic::load(const QString &file)
{
    path = file;
    shared = SharedPictures::instance().pixmap(file);
    pixmap = new QPixmap(*shared);
    rect.setSize(pixmap->size());
    centre = rect.center();
}

void ImageStatic::release()
{
    delete pixmap;
    pixmap = nullptr;
    shared.reset();
}

void ImageStatic::paint(QPainter *p)
{
    p->save();
    Obj::paint(p);
    if (pixmap && !pixmap->isNull()) {
        p->setRenderHint(QPainter::SmoothPixmapTransform, true);
        p->drawPixmap(PixelRound::rect(rect.normalized()), *pixmap);
    }
    p->restore();
}

Obj *ImageStatic::clone() const
{
    return cloneInto(new ImageStatic);
}
