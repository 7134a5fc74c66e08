#pragma once

#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QRegion>
#include <QSize>

// How the page is shown on the canvas: page pixels times the scale, moved by
// the origin (where the page's top left lies), give the canvas's own pixels.
// The one place the two systems meet.
class ViewTransform
{
public:
    ViewTransform() = default;
    ViewTransform(qreal scale, const QSize &pageSize, const QPointF &origin = QPointF());
    // A page of `pageSize` shown whole in `window`: smaller when it is larger,
    // never larger than its own size.
    static ViewTransform fitting(const QSize &pageSize, const QSize &window);

    qreal scale() const { return factor; }
    QPointF origin() const { return shift; }
    QRect pageRect() const { return QRect(QPoint(0, 0), page); }
    QSize pageSize() const { return page; }
    // The page's size on the canvas.
    QSize shownSize() const;
    // Page pixels one for one on the canvas's, from the same origin.
    bool isIdentity() const { return factor == 1 && shift.isNull(); }

    QPointF toView(const QPointF &pagePoint) const { return pagePoint * factor + shift; }
    QPointF toPage(const QPointF &viewPoint) const { return (viewPoint - shift) / factor; }
    // Both widened by a pixel where the page is scaled: smooth scaling
    // reaches a little past the rectangle.
    QRect toView(const QRect &pageRect) const;
    QRegion toPage(const QRegion &viewRegion) const;
    QRectF toPage(const QRectF &viewRect) const;

    bool operator==(const ViewTransform &other) const;
    bool operator!=(const ViewTransform &other) const { return !(*this == other); }

private:
    qreal factor = 1;
    QSize page;
    QPointF shift;
};
