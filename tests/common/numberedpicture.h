#pragma once

#include <QImage>
#include <QPoint>

// Every pixel of the desktop picture tells where it lies (red: x mod 256,
// green: y mod 256, blue: the 256-pixel tile), so that a capture shows
// exactly which pixels it holds.
inline QRgb numberedPixel(int x, int y)
{
    return qRgb(x % 256, y % 256, (x / 256) * 16 + y / 256);
}

inline QImage numberedPicture(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, numberedPixel(x, y));
    return image;
}

inline QPoint numberedPosition(QRgb pixel)
{
    return QPoint(qBlue(pixel) / 16 * 256 + qRed(pixel), qBlue(pixel) % 16 * 256 + qGreen(pixel));
}
