#pragma once

#include <QColor>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QSize>
#include <QString>

// Something like a screen shot: a gradient, panels and text, so that the PNG
// codec has real work.
inline QImage makePicture(const QSize &size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor::fromHsv(seed * 40 % 360, 120, 230));
    gradient.setColorAt(1, QColor::fromHsv((seed * 40 + 150) % 360, 160, 90));
    p.fillRect(image.rect(), gradient);
    QRandomGenerator rng(seed);
    for (int i = 0; i < 40; ++i) {
        const QRect panel(rng.bounded(size.width()), rng.bounded(size.height()),
                          rng.bounded(40, 400), rng.bounded(20, 200));
        p.fillRect(panel, QColor::fromRgb(rng.generate() | 0xff000000u));
        p.drawText(panel, Qt::AlignCenter | Qt::TextWordWrap,
                   QStringLiteral("panel %1 of picture %2").arg(i).arg(seed));
    }
    return image;
}
