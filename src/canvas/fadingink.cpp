#include "fadingink.h"

#include "app/devicepixels.h"
#include "document/obj.h"

#include <QPainter>

#include <algorithm>

FadingInk::FadingInk() = default;
FadingInk::~FadingInk() = default;

// The last second fades (or the last half of a shorter life).
qint64 FadingInk::fadeMs(qint64 lifeMs)
{
    return qMin<qint64>(1000, lifeMs / 2);
}

double FadingInk::opacityAt(qint64 age, qint64 lifeMs)
{
    const qint64 fade = fadeMs(lifeMs);
    if (age >= lifeMs)
        return 0;
    if (age <= lifeMs - fade || fade <= 0)
        return 1;
    return double(lifeMs - age) / double(fade);
}

QRect FadingInk::add(std::unique_ptr<Obj> obj, qint64 now, qint64 lifeMs, const QRect &bounds,
                     qreal ratio)
{
    const QRect area = obj->paintRect() & bounds;
    if (area.isEmpty())
        return QRect();
    QImage picture(DevicePixels::size(area.size(), ratio), QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.translate(-area.topLeft());
        obj->paint(&painter);
    }
    strokes.push_back({ std::move(picture), now, qMax<qint64>(1, lifeMs), area });
    return area;
}

QRegion FadingInk::clear()
{
    QRegion area;
    for (const Stroke &stroke : strokes)
        area += stroke.area;
    strokes.clear();
    return area;
}

void FadingInk::paint(QPainter *painter, qint64 now, const QRegion &exposed) const
{
    const qreal before = painter->opacity();
    for (const Stroke &stroke : strokes) {
        if (!exposed.intersects(stroke.area))
            continue;
        const double opacity = opacityAt(now - stroke.lifted, stroke.life);
        if (opacity <= 0)
            continue;
        painter->setOpacity(opacity);
        painter->drawImage(stroke.area.topLeft(), stroke.picture);
    }
    painter->setOpacity(before);
}

// Strokes in their fade change every frame; those whose life ended go.
QRegion FadingInk::advance(qint64 now)
{
    QRegion changed;
    for (const Stroke &stroke : strokes) {
        const qint64 age = now - stroke.lifted;
        if (age >= stroke.life - fadeMs(stroke.life))
            changed += stroke.area;
    }
    strokes.erase(std::remove_if(strokes.begin(), strokes.end(),
                                 [now](const Stroke &s) { return now - s.lifted >= s.life; }),
                  strokes.end());
    return changed;
}

qint64 FadingInk::nextChange(qint64 now) const
{
    qint64 earliest = -1;
    for (const Stroke &stroke : strokes) {
        const qint64 untilFade = stroke.life - fadeMs(stroke.life) - (now - stroke.lifted);
        const qint64 delay = qMax<qint64>(0, untilFade);
        if (earliest < 0 || delay < earliest)
            earliest = delay;
    }
    return earliest;
}
