#include "zoomlayer.h"

#include "document/mainpage.h"

#include <QPainter>

#include <cmath>

bool ZoomLayer::matches(const ViewTransform &shown, const QSize &viewSize, qreal ratio) const
{
    return !image.isNull() && transform == shown && image.deviceIndependentSize() == viewSize
        && qFuzzyCompare(image.devicePixelRatio(), ratio);
}

void ZoomLayer::render(const MainPage *page, const ViewTransform &shown, const QSize &viewSize,
                       qreal ratio)
{
    const QSize pixels = (QSizeF(viewSize) * ratio).toSize();
    if (image.size() != pixels || image.devicePixelRatio() != ratio) {
        image = QImage(pixels, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
    }
    transform = shown;
    renderRect(page, QRect(QPoint(0, 0), viewSize));
}

void ZoomLayer::update(const MainPage *page, const QRect &viewRect)
{
    if (!image.isNull())
        renderRect(
            page,
            viewRect.intersected(QRect(QPoint(0, 0), image.deviceIndependentSize().toSize())));
}

bool ZoomLayer::follow(const MainPage *page, const ViewTransform &shown, const QSize &viewSize,
                       qreal ratio)
{
    if (image.isNull() || shown.scale() != transform.scale()
        || shown.pageSize() != transform.pageSize()
        || image.deviceIndependentSize() != QSizeF(viewSize) || image.devicePixelRatio() != ratio)
        return false;
    const QPointF moved = (shown.origin() - transform.origin()) * ratio;
    const QPoint whole(int(std::lround(moved.x())), int(std::lround(moved.y())));
    if (std::abs(moved.x() - whole.x()) > 1e-6 || std::abs(moved.y() - whole.y()) > 1e-6)
        return false;
    const QImage before = image.copy();
    {
        QPainter painter(&image);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.resetTransform();
        QImage shifted = before;
        shifted.setDevicePixelRatio(1);
        painter.scale(1 / ratio, 1 / ratio);
        painter.fillRect(image.rect(), Qt::transparent);
        painter.drawImage(whole, shifted);
    }
    transform = shown;
    const QRect kept = QRect(QPoint(0, 0), viewSize).translated(QPointF(whole / ratio).toPoint());
    const QRegion uncovered = QRegion(QRect(QPoint(0, 0), viewSize)) - QRegion(kept);
    for (const QRect &strip : uncovered)
        renderRect(page, strip.adjusted(-1, -1, 1, 1));
    return true;
}

void ZoomLayer::paint(const std::function<void(QPainter &)> &paint)
{
    if (image.isNull())
        return;
    QPainter painter(&image);
    painter.translate(transform.origin());
    painter.scale(transform.scale(), transform.scale());
    paint(painter);
}

void ZoomLayer::renderRect(const MainPage *page, const QRect &viewRect)
{
    if (viewRect.isEmpty())
        return;
    QPainter painter(&image);
    painter.setClipRect(viewRect);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(viewRect, Qt::transparent);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!page)
        return;
    painter.translate(transform.origin());
    painter.scale(transform.scale(), transform.scale());
    page->paint(&painter, false,
                transform.toPage(QRectF(viewRect)).toAlignedRect().adjusted(-1, -1, 1, 1));
}
