#include "spotlightshade.h"

#include "app/devicepixels.h"
#include "regionpainter.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {
// Antialiasing touches a pixel or two beyond the circle.
constexpr int Margin = 2;
// Rows are grouped into bands: fewer rectangles, slightly more area.
constexpr int Band = 8;

struct Circle
{
    int cx;
    int cy;
    int r;

    // The widest and the narrowest half width within rows [top, bottom).
    std::pair<double, double> halfWidths(int top, int bottom) const
    {
        auto at = [this](double y) {
            const double d = y - cy;
            return d * d >= double(r) * r ? 0.0 : std::sqrt(double(r) * r - d * d);
        };
        const double nearest = std::clamp(double(cy), double(top), double(bottom));
        const double farthest
            = std::abs(top - cy) > std::abs(bottom - cy) ? double(top) : double(bottom);
        return { at(nearest), at(farthest) };
    }
};

Circle circleOf(const QPointF &centre, int radius)
{
    return { int(std::lround(centre.x())), int(std::lround(centre.y())), radius };
}

// The spans of one band where the two circles can differ: what either covers
// at its widest, less what both cover at their narrowest.
void addBand(std::vector<QRect> &rects, const Circle &a, const Circle &b, int top, int bottom)
{
    const auto [aOuter, aInner] = a.halfWidths(top, bottom);
    const auto [bOuter, bInner] = b.halfWidths(top, bottom);
    int left = INT_MAX, right = INT_MIN;
    for (const auto &[c, w] : { std::pair(a, aOuter), std::pair(b, bOuter) }) {
        if (w <= 0)
            continue;
        left = std::min(left, c.cx - int(std::ceil(w)) - Margin);
        right = std::max(right, c.cx + int(std::ceil(w)) + Margin);
    }
    if (left > right)
        return;
    const int innerLeft
        = std::max(a.cx - int(std::floor(aInner)), b.cx - int(std::floor(bInner))) + Margin;
    const int innerRight
        = std::min(a.cx + int(std::floor(aInner)), b.cx + int(std::floor(bInner))) - Margin;
    if (aInner <= 0 || bInner <= 0 || innerRight - innerLeft < 2) {
        rects.emplace_back(QPoint(left, top), QPoint(right, bottom - 1));
        return;
    }
    rects.emplace_back(QPoint(left, top), QPoint(innerLeft, bottom - 1));
    rects.emplace_back(QPoint(innerRight, top), QPoint(right, bottom - 1));
}
} // namespace

QRect SpotlightShade::square(const QPointF &centre, int radius)
{
    const Circle c = circleOf(centre, radius);
    const int half = radius + Margin;
    return QRect(c.cx - half, c.cy - half, 2 * half, 2 * half);
}

QRegion SpotlightShade::change(const QPointF &fromCentre, int fromRadius, const QPointF &toCentre,
                               int toRadius)
{
    const Circle a = circleOf(fromCentre, fromRadius);
    const Circle b = circleOf(toCentre, toRadius);
    const int top = std::min(a.cy - a.r, b.cy - b.r) - Margin;
    const int bottom = std::max(a.cy + a.r, b.cy + b.r) + Margin;
    std::vector<QRect> rects;
    for (int y = top; y < bottom; y += Band)
        addBand(rects, a, b, y, std::min(y + Band, bottom));
    QRegion region;
    region.setRects(rects.data(), int(rects.size()));
    return region;
}

void SpotlightShade::makeHole(int radius, int darkness, qreal ratio)
{
    const int side = 2 * (radius + Margin);
    hole
        = QImage(DevicePixels::size(QSize(side, side), ratio), QImage::Format_ARGB32_Premultiplied);
    hole.setDevicePixelRatio(ratio);
    hole.fill(Qt::transparent);
    QPainterPath shape;
    shape.setFillRule(Qt::OddEvenFill);
    shape.addRect(0, 0, side, side);
    shape.addEllipse(QPointF(side / 2.0, side / 2.0), radius, radius);
    QPainter painter(&hole);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillPath(shape, QColor(0, 0, 0, darkness * 255 / 100));
    holeRadius = radius;
    holeDarkness = darkness;
    holeRatio = ratio;
}

void SpotlightShade::paint(QPainter *painter, const QRegion &dirty, const QPointF &centre,
                           int radius, int darkness, qreal ratio)
{
    const QRect sq = square(centre, radius);
    RegionPainter::fill(*painter, dirty.subtracted(sq), QColor(0, 0, 0, darkness * 255 / 100));
    if (radius != holeRadius || darkness != holeDarkness || ratio != holeRatio)
        makeHole(radius, darkness, ratio);
    RegionPainter::drawImage(*painter, dirty.intersected(sq), sq.topLeft(), hole);
}
