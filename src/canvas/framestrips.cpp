#include "framestrips.h"

#include "app/resourcepixmap.h"

#include <QPainter>
#include <QRegion>
#include <QWidget>

namespace {
// The nine-slice frame picture: a 3 x 3 grid of square tiles.
const QImage &frameImage(bool highRes)
{
    static const QImage normal
        = ResourcePixmap::load(QStringLiteral(":/Res/Frame"), false).toImage();
    static const QImage twin = ResourcePixmap::load(QStringLiteral(":/Res/Frame"), true).toImage();
    return highRes ? twin : normal;
}
} // namespace

void FrameStrips::paintAround(QPainter &painter, const QWidget *view, const QRegion &dirty,
                              bool touch)
{
    // The twin also on a scaled screen, where it lands pixel for pixel.
    const bool highRes = touch || view->logicalDpiX() > 96 || view->devicePixelRatio() > 1;
    const QImage &frame = frameImage(highRes);
    if (frame.isNull())
        return;
    // The UI scale: logical DPI / 96, or 2 with the touch interface.
    const int k = qRound(12 * (touch ? 2.0 : view->logicalDpiX() / 96.0));
    // A pen piece inside the page does not reach the frame.
    if (view->rect().adjusted(k, k, -k, -k).contains(dirty.boundingRect()))
        return;
    paint(painter, dirty, view->size(), view->devicePixelRatio(), k, frame,
          view->logicalDpiX() > 96);
}

void FrameStrips::paint(QPainter &painter, const QRegion &dirty, const QSize &size, qreal ratio,
                        int thickness, const QImage &tiles, bool smooth)
{
    const Look look { size, ratio, thickness, tiles.cacheKey(), smooth };
    if (!(look == built))
        build(look, tiles);
    for (int i = 0; i < 4; ++i)
        if (!strips[i].isNull() && dirty.intersects(places[i]))
            painter.drawImage(places[i].topLeft(), strips[i]);
}

void FrameStrips::build(const Look &look, const QImage &tiles)
{
    built = look;
    const int k = look.thickness;
    const int w = look.size.width();
    const int h = look.size.height();
    const int t = tiles.width() / 3;
    places[0] = QRect(0, 0, w, k);
    places[1] = QRect(0, h - k, w, k);
    places[2] = QRect(0, k, k, h - 2 * k);
    places[3] = QRect(w - k, k, k, h - 2 * k);
    // Where each tile goes: its column and row in the grid.
    const struct
    {
        QRect target;
        int column, row;
    } pieces[] = { { QRect(0, 0, k, k), 0, 0 },
                   { QRect(w - k, 0, k, k), 2, 0 },
                   { QRect(0, h - k, k, k), 0, 2 },
                   { QRect(w - k, h - k, k, k), 2, 2 },
                   { QRect(0, k, k, h - 2 * k), 0, 1 },
                   { QRect(k, 0, w - 2 * k, k), 1, 0 },
                   { QRect(w - k, k, k, h - 2 * k), 2, 1 },
                   { QRect(k, h - k, w - 2 * k, k), 1, 2 } };
    for (int i = 0; i < 4; ++i) {
        strips[i] = QImage();
        if (places[i].width() <= 0 || places[i].height() <= 0 || t <= 0)
            continue;
        strips[i] = QImage(places[i].size() * look.ratio, QImage::Format_ARGB32_Premultiplied);
        strips[i].setDevicePixelRatio(look.ratio);
        strips[i].fill(Qt::transparent);
        QPainter p(&strips[i]);
        p.setRenderHint(QPainter::SmoothPixmapTransform, look.smooth);
        p.translate(-places[i].topLeft());
        for (const auto &piece : pieces)
            if (places[i].contains(piece.target))
                p.drawImage(piece.target, tiles, QRect(piece.column * t, piece.row * t, t, t));
    }
}
