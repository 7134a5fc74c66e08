#pragma once

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QRegion>

class QPainter;

// The spotlight's darkness: all of a view but a circle. The circle's square
// is one picture, made again only when the radius, the darkness or the pixel
// ratio changes; a move repaints only where the old and the new circle
// differ, a thin crescent for a pointer step.
class SpotlightShade
{
public:
    // The square the circle of `radius` around `centre` takes, with a margin
    // for its antialiased edge.
    static QRect square(const QPointF &centre, int radius);
    // The area whose look changes when the circle moves or resizes.
    static QRegion change(const QPointF &fromCentre, int fromRadius, const QPointF &toCentre,
                          int toRadius);

    // Paints what reaches `dirty`; `darkness` in percent.
    void paint(QPainter *painter, const QRegion &dirty, const QPointF &centre, int radius,
               int darkness, qreal ratio);

private:
    void makeHole(int radius, int darkness, qreal ratio);

    QImage hole;
    int holeRadius = -1;
    int holeDarkness = -1;
    qreal holeRatio = 0;
};
