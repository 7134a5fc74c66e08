#include "devicepixels.h"

#include <cmath>

int DevicePixels::edge(int logical, qreal ratio)
{
    return int(std::floor(logical * ratio + 0.5));
}

QRect DevicePixels::rect(const QRect &logical, qreal ratio)
{
    const int left = edge(logical.x(), ratio);
    const int top = edge(logical.y(), ratio);
    return QRect(left, top, edge(logical.x() + logical.width(), ratio) - left,
                 edge(logical.y() + logical.height(), ratio) - top);
}

QSize DevicePixels::size(const QSize &logical, qreal ratio)
{
    return rect(QRect(QPoint(0, 0), logical), ratio).size();
}

QPixmap DevicePixels::copy(const QPixmap &picture, const QRect &logical)
{
    const QRect device = rect(logical, picture.devicePixelRatio()) & picture.rect();
    if (device.isEmpty())
        return QPixmap();
    QPixmap piece = picture.copy(device);
    piece.setDevicePixelRatio(picture.devicePixelRatio());
    return piece;
}

QImage DevicePixels::copy(const QImage &picture, const QRect &logical)
{
    const QRect device = rect(logical, picture.devicePixelRatio()) & picture.rect();
    if (device.isEmpty())
        return QImage();
    QImage piece = picture.copy(device);
    piece.setDevicePixelRatio(picture.devicePixelRatio());
    return piece;
}

QSize DevicePixels::logicalSize(const QPixmap &picture)
{
    return picture.deviceIndependentSize().toSize();
}
