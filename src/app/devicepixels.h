#pragma once

#include <QImage>
#include <QPixmap>
#include <QRect>
#include <QSize>

// Screen pictures are kept in device pixels with their device pixel ratio,
// while everything the user sees is measured in logical pixels. Rectangles are
// mapped edge by edge, so that neighbouring logical rectangles cover
// neighbouring device pixels without gap or overlap at any ratio.
class DevicePixels
{
public:
    static int edge(int logical, qreal ratio);
    static QRect rect(const QRect &logical, qreal ratio);
    static QSize size(const QSize &logical, qreal ratio);

    // The logical rectangle's pixels of picture, unscaled, carrying the
    // picture's ratio; cut at the picture's border.
    static QPixmap copy(const QPixmap &picture, const QRect &logical);
    static QImage copy(const QImage &picture, const QRect &logical);

    // The size a picture covers in logical pixels.
    static QSize logicalSize(const QPixmap &picture);
};
