#include "pixelround.h"

#include <cmath>

namespace PixelRound {

int round(double v)
{
    return int(std::floor(v + 0.5));
}

QRect rect(const QRectF &r)
{
    return QRect(round(r.x()), round(r.y()), round(r.width()), round(r.height()));
}

} // namespace PixelRound
