#pragma once

#include <QPoint>
#include <QPointF>
#include <QRect>

class QScreen;

// Between Qt's global coordinates and the windowing system's device pixels.
// Qt keeps each screen's origin in device pixels and scales distances from it
// by the screen's device pixel ratio, which leaves gaps and overlaps between
// screens of different ratios: areas across screens are only whole in device
// pixels.
namespace NativeCoordinates {

QPoint toNative(const QPoint &p);
QPointF toNative(const QPointF &p);
QRect fromNative(const QRect &r);

// The device pixels a screen covers.
QRect screenRect(const QScreen *screen);
// The device pixels every screen together spans.
QRect desktopRect();

} // namespace NativeCoordinates
