#include "regionpainter.h"

#include <QImage>
#include <QPainter>
#include <QPixmap>

#include <cmath>
#include <type_traits>

namespace {
constexpr int BandRows = 64;
// A tenth of a full-HD screen.
constexpr qint64 LargeArea = 200000;
} // namespace

RegionPainter::Pieces RegionPainter::pieces(const QRegion &region, qreal ratio)
{
    const int rows = qMax(1, int(BandRows / ratio));
    Pieces out;
    for (const QRect &r : region) {
        if (qint64(r.width()) * r.height() * ratio * ratio > LargeArea) {
            out.append(r);
            continue;
        }
        for (int y = r.top(); y <= r.bottom(); y += rows)
            out.append(QRect(r.left(), y, r.width(), qMin(rows, r.bottom() - y + 1)));
    }
    return out;
}

template<typename Picture>
void RegionPainter::draw(QPainter &painter, const QRectF &target, const Picture &picture,
                         const QRectF &source)
{
    if constexpr (std::is_same_v<Picture, QImage>)
        painter.drawImage(target, picture, source);
    else
        painter.drawPixmap(target, picture, source);
}

// With the painter's own scaling undone, the picture's device pixels land
// one for one and take the toolkit's copy paths, not its scaling ones. At a
// fractional pixel ratio pieces would not meet on whole device pixels: the
// picture is drawn at once under the paint event's clip.
template<typename Picture>
void RegionPainter::blit(QPainter &painter, const QRegion &region, const QPoint &origin,
                         const Picture &picture)
{
    if (region.isEmpty())
        return;
    const qreal ratio = picture.devicePixelRatio();
    if (ratio != std::floor(ratio)) {
        draw(painter, QRectF(origin, picture.deviceIndependentSize()), picture, picture.rect());
        return;
    }
    const QRect bounds(origin, picture.deviceIndependentSize().toSize());
    const int k = int(ratio);
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1.0 / k, 1.0 / k), true);
    for (const QRect &r : pieces(region.intersected(bounds), ratio)) {
        const QRect device(r.topLeft() * k, r.size() * k);
        draw(painter, device, picture, device.translated(-origin * k));
    }
    painter.restore();
}

void RegionPainter::drawImage(QPainter &painter, const QRegion &region, const QPoint &origin,
                              const QImage &image)
{
    blit(painter, region, origin, image);
}

void RegionPainter::drawPixmap(QPainter &painter, const QRegion &region, const QPoint &origin,
                               const QPixmap &pixmap)
{
    blit(painter, region, origin, pixmap);
}

void RegionPainter::fill(QPainter &painter, const QRegion &region, const QColor &colour)
{
    for (const QRect &r : pieces(region, painter.device()->devicePixelRatioF()))
        painter.fillRect(r, colour);
}
