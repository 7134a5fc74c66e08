#pragma once

#include "document/objstroke.h"

#include <QColor>
#include <QRandomGenerator>
#include <QSize>

#include <cmath>

// A word of handwriting anywhere on a page of `page` logical pixels: 60
// points of a smooth random walk, as on a page written full.
inline ObjStroke *writtenStroke(QRandomGenerator &rng, const QSize &page)
{
    auto *s = new ObjStroke;
    s->width = rng.bounded(2, 6);
    s->colour = QColor::fromRgb(rng.generate() | 0xff000000u);
    QPointF last(rng.bounded(page.width()), rng.bounded(page.height()));
    double heading = rng.bounded(2 * M_PI);
    s->path.moveTo(last);
    s->path.lineTo(last + QPointF(0.05, 0.05));
    for (int i = 0; i < 59; ++i) {
        heading += rng.bounded(1.2) - 0.6;
        const QPointF pt = last + QPointF(std::cos(heading), std::sin(heading)) * 7;
        s->path.quadTo(last, (last + pt) / 2);
        last = pt;
    }
    return s;
}
