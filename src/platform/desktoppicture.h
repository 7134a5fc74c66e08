#pragma once

#include <QPixmap>
#include <QRect>

// A picture of a rectangle of the desktop's device pixels (see
// NativeCoordinates), across screens of different ratios.
class DesktopPicture
{
public:
    // Null when a screen the rectangle touches gives no picture.
    static QPixmap grab(const QRect &device);
};
