#pragma once

#include "document/obj.h"
#include "document/objstroke.h"

#include <QImage>
#include <QPainter>

// Pixel helpers shared by the painting tests.
namespace Pixels {

// A straight stroke from `from` to `to`.
inline ObjStroke *line(const QPointF &from, const QPointF &to, int width,
                       const QColor &colour = Qt::red, int kind = ObjStroke::Pen)
{
    auto *s = new ObjStroke;
    s->strokeKind = kind;
    s->width = width;
    s->colour = colour;
    s->path.moveTo(from);
    s->path.lineTo(to);
    return s;
}

// Saves an opaque picture of one colour and returns its path.
inline QString savePicture(const QString &path, const QSize &size, const QColor &colour)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    if (!picture.save(path))
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

inline QImage blank(const QSize &size = QSize(300, 300))
{
    QImage img(size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

inline QImage paint(Obj &obj, const QSize &size = QSize(300, 300))
{
    QImage img = blank(size);
    QPainter p(&img);
    obj.paint(&p);
    return img;
}

// The bounding box of the pixels whose alpha exceeds `minAlpha`.
inline QRect ink(const QImage &img, int minAlpha = 0)
{
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x) {
            if (qAlpha(line[x]) > minAlpha)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

inline int alphaAt(const QImage &img, int x, int y)
{
    return qAlpha(img.pixel(x, y));
}

// How many pixels inside `area` differ by more than `tolerance` on a channel.
inline int differences(const QImage &a, const QImage &b, const QRect &area, int tolerance = 0)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb pa = a.pixel(x, y), pb = b.pixel(x, y);
            if (qAbs(qRed(pa) - qRed(pb)) > tolerance || qAbs(qGreen(pa) - qGreen(pb)) > tolerance
                || qAbs(qBlue(pa) - qBlue(pb)) > tolerance
                || qAbs(qAlpha(pa) - qAlpha(pb)) > tolerance)
                ++count;
        }
    }
    return count;
}

} // namespace Pixels
