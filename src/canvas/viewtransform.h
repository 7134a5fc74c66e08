#pragma once

#include <QPointF>
#include <QRect>
#include <QRegion>
#include <QSize>

// How the page is shown on the canvas: page pixels times the scale give the
// canvas's own pixels, from the same origin. The one place the two systems
// meet; a page larger than its window is shown whole, smaller.
class ViewTransform
{
public:
    ViewTransform() = default;
    ViewTransform(qreal scale, const QSize &pageSize);
    // A page of `pageSize` shown whole in `window`: smaller when it is larger,
    // never larger than its own size.
    static ViewTransform fitting(const QSize &pageSize, const QSize &window);

    qreal scale() const { return factor; }
    QRect pageRect() const { return QRect(QPoint(0, 0), page); }
    // The page's size on the canvas.
    QSize shownSize() const;

    QPointF toView(const QPointF &pagePoint) const { return pagePoint * factor; }
    QPointF toPage(const QPointF &viewPoint) const { return viewPoint / factor; }
    // Both widened by a pixel where the page is scaled: smooth scaling
    // reaches a little past the rectangle.
    QRect toView(const QRect &pageRect) const;
    QRegion toPage(const QRegion &viewRegion) const;

private:
    qreal factor = 1;
    QSize page;
};
