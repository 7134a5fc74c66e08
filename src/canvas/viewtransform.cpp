#include "viewtransform.h"

ViewTransform::ViewTransform(qreal scale, const QSize &pageSize, const QPointF &origin)
    : factor(scale)
    , page(pageSize)
    , shift(origin)
{
}

ViewTransform ViewTransform::fitting(const QSize &pageSize, const QSize &window)
{
    const qreal scale = qMin(1.0,
                             qMin(qreal(window.width()) / qMax(1, pageSize.width()),
                                  qreal(window.height()) / qMax(1, pageSize.height())));
    return ViewTransform(scale, pageSize);
}

QSize ViewTransform::shownSize() const
{
    return factor == 1 ? page : (QSizeF(page) * factor).toSize();
}

QRect ViewTransform::toView(const QRect &pageRect) const
{
    if (isIdentity())
        return pageRect;
    const QRectF shown(toView(QPointF(pageRect.topLeft())), QSizeF(pageRect.size()) * factor);
    return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

QRectF ViewTransform::toPage(const QRectF &viewRect) const
{
    return QRectF(toPage(viewRect.topLeft()), viewRect.size() / factor);
}

QRegion ViewTransform::toPage(const QRegion &viewRegion) const
{
    if (isIdentity())
        return viewRegion;
    QRegion region;
    for (const QRect &r : viewRegion)
        region += toPage(QRectF(r)).toAlignedRect().adjusted(-1, -1, 1, 1);
    return region;
}

bool ViewTransform::operator==(const ViewTransform &other) const
{
    return qFuzzyCompare(factor, other.factor) && page == other.page
        && qFuzzyCompare(shift.x() + 1, other.shift.x() + 1)
        && qFuzzyCompare(shift.y() + 1, other.shift.y() + 1);
}
