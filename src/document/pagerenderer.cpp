#include "pagerenderer.h"

#include "backgroundfiles.h"

#include "imagestatic.h"
#include "mainpage.h"
#include "obj.h"
#include "pdfsource.h"
#include "pixelround.h"

#include <QPainter>
#include <QPixmap>

#include <memory>

namespace {

QImage pageImage(const PageRecord &page, bool bScaled, float factor, QImage::Format format)
{
    if (!bScaled) {
        QImage image(page.pixelSize, format);
        image.setDevicePixelRatio(page.pixelRatio);
        return image;
    }
    return QImage(QSize(qRound(page.size.width() * factor), qRound(page.size.height() * factor)),
                  format);
}

// A PDF page is rendered for the pixels it is painted into, so that it is as
// sharp in a scaled picture as on the screen.
QImage backgroundPicture(const PageRecord &page, const QSize &pixels)
{
    if (page.background == MainPage::PdfBackground)
        return page.pdf ? page.pdf->render(page.pdfPage, pixels) : QImage();
    return page.picture.isNull() ? QImage(page.pictureFile, "PNG") : page.picture;
}

void paintBackground(QImage &image, const PageRecord &page, bool bScaled)
{
    if (page.background == MainPage::ColourBackground) {
        image.fill(page.colour);
        return;
    }
    image.fill(Qt::white);
    const QSize size = image.size();
    const qreal ratio = image.devicePixelRatio();
    QImage picture = backgroundPicture(page, size);
    if (picture.isNull())
        return;
    if (bScaled && page.background != MainPage::PdfBackground)
        picture = picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    picture.setDevicePixelRatio(ratio);
    QPainter painter(&image);
    // Centred on whole device pixels, as the canvas does it.
    const int left = (size.width() - picture.width()) / 2;
    const int top = (size.height() - picture.height()) / 2;
    painter.drawImage(QPointF(left / ratio, top / ratio), picture);
}

// A raster picture from the pixels copied on the GUI thread, turned and
// stretched as the object paints itself.
void paintPicture(QPainter *p, const ObjectRecord &r)
{
    if (r.image.isNull())
        return;
    p->save();
    p->translate(r.centre);
    p->rotate(r.angle);
    p->translate(-r.centre);
    p->setRenderHint(QPainter::SmoothPixmapTransform, true);
    p->drawImage(PixelRound::rect(r.rect.normalized()), r.image);
    p->restore();
}

// Floating objects straight onto the image, then the layer objects through a
// transparent image of their own, so that erasers clear only layer pixels.
void renderInto(QImage &image, const PageRecord &page, bool bScaled, float factor)
{
    QImage layerPixels(image.size(), QImage::Format_ARGB32_Premultiplied);
    layerPixels.setDevicePixelRatio(image.devicePixelRatio());
    layerPixels.fill(Qt::transparent);
    {
        QPainter painter(&layerPixels);
        painter.setRenderHint(QPainter::Antialiasing);
        if (bScaled)
            painter.scale(factor, factor);
        PageRenderer::paintObjects(&painter, page, false);
    }
    QPainter painter(&image);
    painter.save();
    if (bScaled)
        painter.scale(factor, factor);
    PageRenderer::paintObjects(&painter, page, true);
    painter.restore();
    painter.drawImage(QPoint(0, 0), layerPixels);
}

} // namespace

// Objects made here live only for this painting and belong to this thread.
void PageRenderer::paintObjects(QPainter *p, const PageRecord &page, bool bFloating)
{
    p->save();
    for (const ObjectRecord &r : page.objects) {
        if (r.isPicture() != bFloating)
            continue;
        if (r.kind == KindImageStatic) {
            paintPicture(p, r);
            continue;
        }
        const std::unique_ptr<Obj> obj(r.create(r.file));
        if (obj)
            obj->paint(p);
    }
    p->restore();
}

PageRecord PageRenderer::snapshot(MainPage *page)
{
    return snapshot(QList<MainPage *> { page }).constFirst();
}

QList<PageRecord> PageRenderer::snapshot(const QList<MainPage *> &pages)
{
    QList<PageRecord> records = DocumentSnapshot::take(pages, 0).pages;
    for (int i = 0; i < pages.size(); ++i) {
        // A picture the disk refused is rendered from memory.
        records[i].picture = BackgroundFiles::instance().unwritten(pages.at(i)->id);
        const QList<Obj *> &objects = pages.at(i)->objects;
        for (int j = 0; j < objects.size(); ++j) {
            if (objects.at(j)->kind != KindImageStatic)
                continue;
            const QPixmap *pixmap = static_cast<const ImageStatic *>(objects.at(j))->pixmap;
            if (pixmap)
                records[i].objects[j].image = pixmap->toImage();
        }
    }
    return records;
}

QImage PageRenderer::renderPage(const PageRecord &page, bool bScaled, float factor)
{
    QImage image = pageImage(page, bScaled, factor, QImage::Format_RGB32);
    paintBackground(image, page, bScaled);
    renderInto(image, page, bScaled, factor);
    return image;
}

QImage PageRenderer::renderObjects(const PageRecord &page, bool bScaled, float factor)
{
    QImage image = pageImage(page, bScaled, factor, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    renderInto(image, page, bScaled, factor);
    return image;
}

QImage PageRenderer::renderPage(MainPage *page, bool bScaled, float factor)
{
    return page ? renderPage(snapshot(page), bScaled, factor) : QImage();
}

QImage PageRenderer::renderObjects(MainPage *page, bool bScaled, float factor)
{
    return page ? renderObjects(snapshot(page), bScaled, factor) : QImage();
}
