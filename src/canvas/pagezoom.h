#pragma once

#include <QPointF>
#include <QSize>

// How one page sits in its window: fitted whole (as a page starts), or at a
// zoom of its own with a position the user panned to. The position is kept
// unrounded, so zooming in and out again around a point does not creep.
class PageZoom
{
public:
    static constexpr qreal minimum = 0.25;
    static constexpr qreal maximum = 8;

    // The page's scale on screen and its top left in the window.
    struct Placement
    {
        qreal scale = 1;
        QPointF topLeft;
        QSize shownSize;
    };

    bool isFitted() const { return zoom <= 0; }
    Placement place(const QSize &page, const QSize &window) const;
    // The scale the page is shown at in `window`.
    qreal scale(const QSize &page, const QSize &window) const;

    // Zooms to `scale` (kept in range) with the page point under `anchor`
    // (window coordinates) staying there.
    void zoomTo(qreal scale, const QPointF &anchor, const QSize &page, const QSize &window);
    void fit() { zoom = 0; }
    // Moves the page by `delta` window pixels, as far as it overflows.
    void panBy(const QPointF &delta, const QSize &page, const QSize &window);
    // Puts `pagePoint` under `windowPoint`, as far as the page overflows.
    void show(const QPointF &pagePoint, const QPointF &windowPoint, const QSize &page,
              const QSize &window);

    // The next zoom of the ladder of thirds of an octave (100 %, 126 %, 159 %,
    // 200 % …) above or below `scale`: steps land on 25 %, 50 %, 200 %, 800 %.
    static qreal stepped(qreal scale, int steps);
    static qreal bounded(qreal scale);
    // A scale within rounding of a rung of the ladder is that rung.
    static qreal onLadder(qreal scale);

private:
    // The page's top left, unrounded.
    QPointF origin(const QSize &page, const QSize &window) const;
    // Clamps the stored position to what the window can show of the page.
    void settle(const QSize &page, const QSize &window);

    qreal zoom = 0; // 0 while fitted
    QPointF topLeft;
};
