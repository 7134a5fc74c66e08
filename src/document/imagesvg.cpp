#include "imagesvg.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

ImageSVG::ImageSVG()
{
    kind = KindImageSVG;
}

ImageSVG::ImageSVG(const QRectF &r)
    : ObjImage(r)
{
    kind = KindImageSVG;
}

ImageSVG::~ImageSVG()
{
    release();
}

static bool acceptable(const QSvgRenderer &renderer)
{
    const QSize size = renderer.defaultSize();
    return renderer.isValid() && !size.isEmpty() && size.width() <= ImageSVG::MaxSide
        && size.height() <= ImageSVG::MaxSide;
}

void ImageSVG::load(const QString &file)
{
    path = file;
    rect.setSize(QSizeF(0, 0));
    centre = rect.center();
    const QFileInfo info(file);
    if (!info.isFile() || info.size() > MaxFileBytes)
        return;
    renderer = new QSvgRenderer(file, this);
    if (!acceptable(*renderer)) {
        release();
        return;
    }
    rect.setSize(renderer->defaultSize());
    centre = rect.center();
}

void ImageSVG::release()
{
    delete renderer;
    renderer = nullptr;
}

void ImageSVG::paint(QPainter *p)
{
    p->save();
    Obj::paint(p);
    if (renderer) {
        const QRectF box = rect.normalized();
        p->setClipRect(box, Qt::IntersectClip);
        renderer->render(p, box);
    }
    p->restore();
}

Obj *ImageSVG::clone() const
{
    return cloneInto(new ImageSVG);
}
