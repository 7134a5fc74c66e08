#pragma once

#include <QImage>
#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QSize>

class QSinglePointEvent;
class QWidget;

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

    // Where a pointer event lies in widget, to the device pixel: the position
    // Qt hands a widget is a whole logical pixel, a device pixel off at odd
    // device positions on a scaled screen (see ExactPointer).
    static QPointF position(const QWidget *widget, const QSinglePointEvent *event);
    // Where a global position lies in widget, in device pixels from the
    // widget's window.
    static QPointF position(const QWidget *widget, const QPointF &globalPosition);
    // The device pixel at a logical position that lies on device pixels.
    static QPoint pixel(const QPointF &logical, qreal ratio);
};
