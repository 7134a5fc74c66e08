#pragma once

#include <QPoint>
#include <QRect>

// Between Qt's global coordinates and the windowing system's device pixels.
// Qt keeps each screen's origin in device pixels and scales distances from it
// by the screen's device pixel ratio.
namespace NativeCoordinates {

QPoint toNative(const QPoint &p);
QRect fromNative(const QRect &r);

} // namespace NativeCoordinates
