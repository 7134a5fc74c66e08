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

QVector<QRect> RegionPainter::pieces(const QRegion &region, qreal ratio)
{
    const int rows = qMax(1, int(BandRows / ratio));
    QVector<QRect> out;
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

// At a fractional pixel ratio pieces would not meet on whole device pixels:
// the picture is drawn at once under the paint event's clip.
bool RegionPainter::whole(qreal ratio)
{
    return ratio != std::floor(ratio);
}

// With the painter's own scaling undone, the picture's device pixels land
// one for one and take the toolkit's copy paths, not its scaling ones.
template<typename Picture>
void RegionPainter::blit(QPainter &painter, const QRegion &region, const QPoint &origin,
                         const Picture &picture)
{
    const qreal ratio = picture.devicePixelRatio();
    const QRect bounds(origin, picture.deviceIndependentSize().toSize());
    const int k = int(ratio);
    painter.save();
    painter.setWorldTransform(QTransform::fromScale(1.0 / k, 1.0 / k), true);
    for (const QRect &r : pieces(region.intersected(bounds), ratio)) {
        const QRect device(r.topLeft() * k, r.size() * k);
        const QRect source = device.translated(-origin * k);
        if constexpr (std::is_same_v<Picture, QImage>)
            painter.drawImage(device, picture, source);
        else
            painter.drawPixmap(device, picture, source);
    }
    painter.restore();
}

void RegionPainter::drawImage(QPainter &painter, const QRegion &region, const QPoint &origin,
                              const QImage &image)
{
    if (region.isEmpty())
        return;
    if (whole(image.devicePixelRatio()))
        painter.drawImage(origin, image);
    else
        blit(painter, region, origin, image);
}

void RegionPainter::drawPixmap(QPainter &painter, const QRegion &region, const QPoint &origin,
                               const QPixmap &pixmap)
{
    if (region.isEmpty())
        return;
    if (whole(pixmap.devicePixelRatio()))
        painter.drawPixmap(origin, pixmap);
    else
        blit(painter, region, origin, pixmap);
}

void RegionPainter::fill(QPainter &painter, const QRegion &region, const QColor &colour)
{
    for (const QRect &r : pieces(region, painter.device()->devicePixelRatioF()))
        painter.fillRect(r, colour);
}
