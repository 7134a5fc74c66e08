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
    // The pixels of still inside area, on a transparent pixmap covering the
    // area's bounds at still's ratio, each edge rounded to a device pixel; a
    // null pixmap when pixelBounds(area) is empty.
    static QPixmap cut(const QPainterPath &area, const QPixmap &still);
};
