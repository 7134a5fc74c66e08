#pragma once

#include <QPainterPath>
#include <QPixmap>
#include <QRect>

// Cuts a captured area out of the still picture of the screen.
class CaptureArea
{
public:
    // The area's bounding rectangle, each of x, y, width and height rounded.
    static QRect pixelBounds(const QPainterPath &area);
    // The pixels of still inside area, on a transparent pixmap the size of
    // pixelBounds(area) in device pixels at still's ratio; a null pixmap when
    // that is empty.
    static QPixmap cut(const QPainterPath &area, const QPixmap &still);
};
