#include "viewtransform.h"

#include <QRectF>

ViewTransform::ViewTransform(qreal scale, const QSize &pageSize)
    : factor(scale)
    , page(pageSize)
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
    if (factor == 1)
        return pageRect;
    const QRectF shown(QPointF(pageRect.topLeft()) * factor, QSizeF(pageRect.size()) * factor);
    return shown.toAlignedRect().adjusted(-1, -1, 1, 1);
}

QRegion ViewTransform::toPage(const QRegion &viewRegion) const
{
    if (factor == 1)
        return viewRegion;
    QRegion region;
    for (const QRect &r : viewRegion)
        region += QRectF(QPointF(r.topLeft()) / factor, QSizeF(r.size()) / factor)
                      .toAlignedRect()
                      .adjusted(-1, -1, 1, 1);
    return region;
}
