#include "capturearea.h"

#include "app/devicepixels.h"

#include <QPainter>

QRect CaptureArea::pixelBounds(const QPainterPath &area)
{
    const QRectF bounds = area.boundingRect();
    return QRect(qRound(bounds.x()), qRound(bounds.y()), qRound(bounds.width()),
                 qRound(bounds.height()));
}

// The still picture holds device pixels: the cut keeps them, unscaled.
QPixmap CaptureArea::cut(const QPainterPath &area, const QPixmap &still)
{
    const QRect bounds = pixelBounds(area);
    if (bounds.width() < 1 || bounds.height() < 1)
        return QPixmap();
    const qreal ratio = still.devicePixelRatio();
    const QRect device = DevicePixels::rect(bounds, ratio);
    QPixmap image(device.size());
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setClipPath(area.translated(-bounds.topLeft()));
    painter.drawPixmap(QPoint(0, 0), still, device);
    return image;
}
