#include "imagesvg.h"

#include "sharedpictures.h"

#include <QPaintEngine>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>

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
    renderer = SharedPictures::instance().renderer(file);
    if (!renderer)
        return;
    if (!acceptable(*renderer)) {
        release();
        return;
    }
    rect.setSize(renderer->defaultSize());
    centre = rect.center();
}

void ImageSVG::release()
{
    renderer.reset();
    cache = QImage();
}

void ImageSVG::paint(QPainter *p)
{
    p->save();
    Obj::paint(p);
    const QRectF box = rect.normalized();
    const QSize size = cacheSize(p->deviceTransform(), box.size());
    // A PDF keeps the drawing's own paths and text, sharp at any zoom.
    if (renderer && p->paintEngine() && p->paintEngine()->type() == QPaintEngine::Pdf) {
        renderer->render(p, box);
    } else if (renderer && !size.isEmpty()) {
        p->setRenderHint(QPainter::SmoothPixmapTransform, true);
        p->drawImage(box, rendered(size));
    }
    p->restore();
}

QSize ImageSVG::cacheSize(const QTransform &t, const QSizeF &size)
{
    double width = size.width() * std::hypot(t.m11(), t.m12());
    double height = size.height() * std::hypot(t.m21(), t.m22());
    const double pixels = width * height;
    if (pixels > double(MaxCachePixels)) {
        const double shrink = std::sqrt(double(MaxCachePixels) / pixels);
        width *= shrink;
        height *= shrink;
    }
    return QSize(int(std::ceil(width)), int(std::ceil(height)));
}

// A picture up to twice the size asked for is drawn shrunk. One too small is
// rendered again, with room to grow: a resize drag would otherwise render the
// whole document at every step.
const QImage &ImageSVG::rendered(const QSize &size)
{
    const QSize have = cache.size();
    if (!cache.isNull() && have.width() >= size.width() && have.height() >= size.height()
        && have.width() <= 2 * size.width() && have.height() <= 2 * size.height())
        return cache;
    const QSize grown = cache.isNull() ? size : size * 1.25;
    const qint64 pixels = qint64(grown.width()) * grown.height();
    cache = QImage(pixels <= MaxCachePixels ? grown : size, QImage::Format_ARGB32_Premultiplied);
    cache.fill(Qt::transparent);
    QPainter painter(&cache);
    renderer->render(&painter, QRectF(QPointF(0, 0), cache.size()));
    return cache;
}

Obj *ImageSVG::clone() const
{
    return cloneInto(new ImageSVG);
}
