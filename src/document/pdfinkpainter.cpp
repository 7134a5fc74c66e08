#include "pdfinkpainter.h"

#include "backgroundcodec.h"
#include "mainpage.h"
#include "obj.h"
#include "pagerenderer.h"
#include "pdfsource.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

constexpr qreal PointsPerInch = 72.0;

// Where a background picture of `pixels` lies in the page's logical
// coordinates: centred on whole device pixels, as the canvas shows it.
QRectF centred(const PageRecord &page, const QSize &pixels)
{
    const int left = (page.pixelSize.width() - pixels.width()) / 2;
    const int top = (page.pixelSize.height() - pixels.height()) / 2;
    const qreal ratio = page.pixelRatio;
    return QRectF(left / ratio, top / ratio, pixels.width() / ratio, pixels.height() / ratio);
}

QImage backgroundPicture(const PageRecord &page)
{
    if (page.background == MainPage::PdfBackground)
        return page.pdf ? page.pdf->render(page.pdfPage, page.pixelSize) : QImage();
    return page.picture.isNull() ? QImage(page.pictureFile, "PNG") : page.picture;
}

void paintBackground(QPainter &painter, const PageRecord &page)
{
    const QRectF whole(QPointF(0, 0), QSizeF(page.size));
    if (page.background == MainPage::ColourBackground) {
        painter.fillRect(whole, page.colour);
        return;
    }
    painter.fillRect(whole, Qt::white);
    const QImage picture = backgroundPicture(page);
    if (picture.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::LosslessImageRendering,
                          BackgroundCodec::keepsLossless(picture));
    painter.drawImage(centred(page, picture.size()), picture);
    painter.restore();
}

// The layer at the page's own pixels, as the canvas paints it.
QImage layerPicture(const PageRecord &page)
{
    QImage image(page.pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(page.pixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PageRenderer::paintObjects(&painter, page, false);
    return image;
}

// Floating objects beneath the layer, as on the canvas; the painter is in
// the page's logical coordinates.
void paintObjects(QPainter &painter, const PageRecord &page)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    PageRenderer::paintObjects(&painter, page, true);
    painter.restore();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    if (PdfInkPainter::hasVectorLayer(page))
        PageRenderer::paintObjects(&painter, page, false);
    else
        painter.drawImage(QRectF(QPointF(0, 0), QSizeF(page.size)), layerPicture(page));
    painter.restore();
}

} // namespace

bool PdfInkPainter::hasVectorLayer(const PageRecord &page)
{
    for (const ObjectRecord &r : page.objects) {
        if (r.kind == KindEraser || r.kind == KindSelect)
            return false;
    }
    return true;
}

void PdfInkPainter::paintPage(QPainter &painter, const QRectF &target, const PageRecord &page)
{
    if (page.size.isEmpty())
        return;
    const QSizeF fitted = QSizeF(page.size).scaled(target.size(), Qt::KeepAspectRatio);
    painter.save();
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.translate(target.center() - QPointF(fitted.width(), fitted.height()) / 2);
    painter.scale(fitted.width() / page.size.width(), fitted.height() / page.size.height());
    painter.setClipRect(QRectF(QPointF(0, 0), QSizeF(page.size)));
    paintBackground(painter, page);
    paintObjects(painter, page);
    painter.restore();
}

void PdfInkPainter::paintInk(QPainter &painter, const PageRecord &page)
{
    const QSize fitted = page.pdf ? page.pdf->fittedSize(page.pdfPage, page.pixelSize) : QSize();
    if (fitted.isEmpty() || page.pixelRatio <= 0)
        return;
    const QSizeF points = page.pdf->pageSize(page.pdfPage);
    const qreal units = painter.device()->logicalDpiX() / PointsPerInch;
    const QRectF shown = centred(page, fitted);
    painter.save();
    painter.setRenderHint(QPainter::LosslessImageRendering);
    painter.scale(points.width() * units / shown.width(), points.height() * units / shown.height());
    painter.translate(-shown.topLeft());
    paintObjects(painter, page);
    painter.restore();
}
