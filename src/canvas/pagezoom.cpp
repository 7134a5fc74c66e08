#include "pagezoom.h"

#include "viewtransform.h"

#include <algorithm>
#include <cmath>

namespace {

// Along one axis: a page narrower than the window is centred, a wider one
// covers it.
qreal placed(qreal position, qreal shown, int window)
{
    if (shown <= window)
        return std::floor((window - shown) / 2);
    return std::clamp(position, window - shown, 0.0);
}

} // namespace

qreal PageZoom::scale(const QSize &page, const QSize &window) const
{
    return isFitted() ? ViewTransform::fitting(page, window).scale() : zoom;
}

QPointF PageZoom::origin(const QSize &page, const QSize &window) const
{
    const QSize shown = ViewTransform(scale(page, window), page).shownSize();
    return QPointF(placed(topLeft.x(), shown.width(), window.width()),
                   placed(topLeft.y(), shown.height(), window.height()));
}

PageZoom::Placement PageZoom::place(const QSize &page, const QSize &window) const
{
    Placement placement;
    placement.scale = scale(page, window);
    placement.shownSize = ViewTransform(placement.scale, page).shownSize();
    placement.topLeft = origin(page, window);
    return placement;
}

void PageZoom::zoomTo(qreal wanted, const QPointF &anchor, const QSize &page, const QSize &window)
{
    const QPointF pagePoint = (anchor - origin(page, window)) / scale(page, window);
    zoom = bounded(onLadder(wanted));
    topLeft = anchor - pagePoint * zoom;
    settle(page, window);
}

void PageZoom::panBy(const QPointF &delta, const QSize &page, const QSize &window)
{
    if (isFitted())
        return;
    topLeft += delta;
    settle(page, window);
}

void PageZoom::show(const QPointF &pagePoint, const QPointF &windowPoint, const QSize &page,
                    const QSize &window)
{
    if (isFitted())
        return;
    topLeft = windowPoint - pagePoint * zoom;
    settle(page, window);
}

void PageZoom::settle(const QSize &page, const QSize &window)
{
    topLeft = origin(page, window);
}

qreal PageZoom::stepped(qreal scale, int steps)
{
    // From off the ladder the first step goes to the nearest rung that way.
    const qreal exact = std::log2(bounded(scale)) * 3;
    const qreal rung = steps > 0 ? std::floor(exact + 1e-6) : std::ceil(exact - 1e-6);
    return bounded(std::exp2((rung + steps) / 3));
}

// Steps multiply the zoom: six notches in and six out came back a hair above
// 100 %, where the page is no longer shown one for one.
qreal PageZoom::onLadder(qreal scale)
{
    const qreal exact = std::log2(scale) * 3;
    const qreal rung = std::round(exact);
    return std::abs(exact - rung) < 1e-9 ? std::exp2(rung / 3) : scale;
}

qreal PageZoom::bounded(qreal scale)
{
    return std::clamp(scale, minimum, maximum);
}
