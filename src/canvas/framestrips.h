#pragma once

#include <QImage>
#include <QRect>

class QPainter;
class QRegion;
class QWidget;

// The nine-slice frame around a full-screen page, stretched along the four
// edges once per size: a repaint then blits strips instead of scaling the
// tiles again, which a scaled screen makes costly.
class FrameStrips
{
public:
    // The program's frame along the edges of `view`, sized for its scale;
    // `touch`: the touch interface, which doubles it.
    void paintAround(QPainter &painter, const QWidget *view, const QRegion &dirty, bool touch);
    // `tiles` is a 3 x 3 grid of square tiles; `thickness` is in logical pixels.
    void paint(QPainter &painter, const QRegion &dirty, const QSize &size, qreal ratio,
               int thickness, const QImage &tiles, bool smooth);

private:
    struct Look
    {
        QSize size;
        qreal ratio = 0;
        int thickness = 0;
        qint64 tiles = 0;
        bool smooth = false;
        bool operator==(const Look &o) const
        {
            return size == o.size && ratio == o.ratio && thickness == o.thickness
                && tiles == o.tiles && smooth == o.smooth;
        }
    };
    void build(const Look &look, const QImage &tiles);

    Look built;
    QRect places[4]; // top, bottom, left, right
    QImage strips[4];
};
