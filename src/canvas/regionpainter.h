#pragma once

#include <QRegion>
#include <QVarLengthArray>

class QColor;
class QImage;
class QPainter;
class QPixmap;

// Paints a large picture or a colour only inside a region, in pieces a
// single thread paints best: a clip of several rectangles makes the painter
// walk every row of a large picture against it, and a fill or blend taller
// than about 96 rows is handed to the toolkit's thread pool, whose hand-off
// costs more CPU than the few pixels of a pen piece or an animation frame.
class RegionPainter
{
public:
    // The picture's top left corner is at `origin`, in logical pixels.
    static void drawImage(QPainter &painter, const QRegion &region, const QPoint &origin,
                          const QImage &image);
    static void drawPixmap(QPainter &painter, const QRegion &region, const QPoint &origin,
                           const QPixmap &pixmap);
    static void fill(QPainter &painter, const QRegion &region, const QColor &colour);

    // A pen piece or a frame fits without a heap allocation.
    using Pieces = QVarLengthArray<QRect, 16>;
    // The region's rectangles, small ones cut in bands of at most 64 device
    // rows; large ones stay whole, where the pool's threads pay off.
    static Pieces pieces(const QRegion &region, qreal ratio);

private:
    template<typename Picture>
    static void draw(QPainter &painter, const QRectF &target, const Picture &picture,
                     const QRectF &source);
    template<typename Picture>
    static void blit(QPainter &painter, const QRegion &region, const QPoint &origin,
                     const Picture &picture);
};
