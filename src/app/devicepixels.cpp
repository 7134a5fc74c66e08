#include "devicepixels.h"

#include "exactpointer.h"
#include "platform/nativecoordinates.h"

#include <QWidget>

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

QPointF DevicePixels::position(const QWidget *widget, const QSinglePointEvent *event)
{
    return position(widget, ExactPointer::globalPosition(event));
}

// Measured in device pixels, where a window across screens of different
// ratios is whole; from the window's corner, which lies on a screen while the
// widget's may not (a page larger than its window).
QPointF DevicePixels::position(const QWidget *widget, const QPointF &globalPosition)
{
    const QWidget *window = widget->window();
    const qreal ratio = widget->devicePixelRatioF();
    const QPointF origin = NativeCoordinates::toNative(QPointF(window->mapToGlobal(QPoint(0, 0))))
        + QPointF(widget->mapTo(window, QPoint(0, 0))) * ratio;
    return (NativeCoordinates::toNative(globalPosition) - origin) / ratio;
}

QPoint DevicePixels::pixel(const QPointF &logical, qreal ratio)
{
    return QPoint(int(std::floor(logical.x() * ratio + 0.5)),
                  int(std::floor(logical.y() * ratio + 0.5)));
}
