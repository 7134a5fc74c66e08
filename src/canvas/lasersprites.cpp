#include "lasersprites.h"

#include "app/devicepixels.h"

#include <QPainter>

#include <cmath>

double LaserSprites::stampWidth(int step) const
{
    const double life = 1.0 - double(step) / Steps;
    return qMax(1.0, size * 0.6 * life);
}

// Thin stamps closer than a pixel would add cost, not smoothness.
double LaserSprites::spacing(int step) const
{
    return qMax(1.0, stampWidth(step) / Overlap);
}

// Antialiased discs, widest first, centred in a picture of whole device
// pixels.
QImage LaserSprites::discs(const std::vector<Disc> &layers, qreal ratio)
{
    const double diameter = layers.front().diameter;
    const int side = int(std::ceil(diameter)) + 2;
    QImage picture(DevicePixels::size(QSize(side, side), ratio),
                   QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    const double centre = picture.width() / ratio / 2;
    for (const Disc &layer : layers) {
        painter.setBrush(layer.colour);
        painter.drawEllipse(QPointF(centre, centre), layer.diameter / 2, layer.diameter / 2);
    }
    painter.end();
    // Blitted in device pixels.
    picture.setDevicePixelRatio(1);
    return picture;
}

void LaserSprites::update(const QColor &newColour, int newSize, qreal newRatio)
{
    if (newColour == colour && newSize == size && newRatio == ratio && !dotPicture.isNull())
        return;
    colour = newColour;
    size = newSize;
    ratio = newRatio;
    QColor glow = colour;
    glow.setAlphaF(0.3f);
    dotPicture = discs({ { size * 4.0 / 3, glow }, { double(size), colour } }, ratio);
    for (int step = 0; step < Steps; ++step) {
        // Where the stamps overlapping at a point cover it, together they
        // reach the trail's alpha for the step.
        const double alpha = 0.7 * (1.0 - double(step) / Steps);
        const double overlap = qMax(1.0, stampWidth(step) / spacing(step));
        QColor c = colour;
        c.setAlphaF(float(1.0 - std::pow(1.0 - alpha, 1.0 / overlap)));
        stamps[size_t(step)] = discs({ { stampWidth(step), c } }, ratio);
    }
}
