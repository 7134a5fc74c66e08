#include "capturearea.h"

#include "app/devicepixels.h"

#include <QPainter>

QRect CaptureArea::pixelBounds(const QPainterPath &area)
{
    const QRectF bounds = area.boundingRect();
    return QRect(qRound(bounds.x()), qRound(bounds.y()), qRound(bounds.width()),
                 qRound(bounds.height()));
}

// The still picture holds device pixels: the cut keeps them, unscaled. Its
// edges are rounded in device pixels, where an area may end half way through
// a logical pixel (a window's odd edge on a scaled screen).
QPixmap CaptureArea::cut(const QPainterPath &area, const QPixmap &still)
{
    const QRect bounds = pixelBounds(area);
    if (bounds.width() < 1 || bounds.height() < 1)
        return QPixmap();
    const qreal ratio = still.devicePixelRatio();
    const QRectF exact = area.boundingRect();
    const QPoint topLeft = DevicePixels::pixel(exact.topLeft(), ratio);
    const QRect device(topLeft, DevicePixels::pixel(exact.bottomRight(), ratio) - QPoint(1, 1));
    if (device.isEmpty())
        return QPixmap();
    QPixmap image(device.size());
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setClipPath(area.translated(-QPointF(topLeft) / ratio));
    painter.drawPixmap(QPoint(0, 0), still, device);
    return image;
}
