#pragma once

#include <QRect>
#include <QRectF>

// Integer geometry of the document rounds halves upwards (2.5 -> 3, -2.5 -> -2),
// which qRound of Qt 6 no longer does for negative values (it rounds away from
// zero). Objects dragged past the top or left page border have negative
// coordinates, so the difference shows in their repaint rectangles.
namespace PixelRound {

int round(double v);

// Rounds x, y, width and height each on their own.
QRect rect(const QRectF &r);

} // namespace PixelRound
