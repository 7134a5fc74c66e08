#include "lasertrail.h"

#include <QPainter>

#include <cmath>

namespace {
// Closer marks add nothing visible and only cost repaints.
constexpr double MinStep = 3;
// A fast hand sends many moves; older marks go first.
constexpr size_t MaxMarks = 96;
} // namespace

void LaserTrail::setLook(const QColor &newColour, int newSize)
{
    colour = newColour;
    size = qMax(2, newSize);
}

QRect LaserTrail::dotRectAt(const QPointF &pt) const
{
    // The glow reaches a third beyond the dot; two pixels for antialiasing.
    const int r = size * 2 / 3 + 2;
    return QRect(int(std::floor(pt.x())) - r, int(std::floor(pt.y())) - r, 2 * r + 2, 2 * r + 2);
}

QRect LaserTrail::dotRect() const
{
    return dotShown ? dotRectAt(dot) : QRect();
}

QRect LaserTrail::segmentRect(const QPointF &a, const QPointF &b) const
{
    const int k = size / 2 + 2;
    return QRectF(a, b).normalized().toAlignedRect().adjusted(-k, -k, k, k);
}

QRegion LaserTrail::moveTo(const QPointF &pt, qint64 now)
{
    QRegion changed;
    if (dotShown) {
        changed += dotRectAt(dot);
        changed += segmentRect(trail.empty() ? dot : trail.back().pos, pt);
    }
    changed += dotRectAt(pt);
    if (trail.empty()
        || std::hypot(pt.x() - trail.back().pos.x(), pt.y() - trail.back().pos.y()) >= MinStep) {
        trail.push_back({ pt, now });
        if (trail.size() > MaxMarks)
            trail.pop_front();
    } else {
        trail.back().time = now;
    }
    dot = pt;
    dotShown = true;
    return changed;
}

QRegion LaserTrail::trailArea() const
{
    QRegion area;
    for (size_t i = 1; i < trail.size(); ++i)
        area += segmentRect(trail[i - 1].pos, trail[i].pos);
    if (dotShown && !trail.empty())
        area += segmentRect(trail.back().pos, dot);
    return area;
}

QRegion LaserTrail::clear()
{
    QRegion area = trailArea();
    if (dotShown)
        area += dotRectAt(dot);
    trail.clear();
    dotShown = false;
    return area;
}

// The whole trail changes as it ages; marks that aged out go, but the
// newest stays where the dot is.
QRegion LaserTrail::advance(qint64 now)
{
    if (trail.size() < 2)
        return QRegion();
    const QRegion area = trailArea();
    while (trail.size() > 1 && now - trail.front().time >= LifeMs)
        trail.pop_front();
    return area;
}

qint64 LaserTrail::nextChange(qint64) const
{
    return trail.size() >= 2 ? 0 : -1;
}

void LaserTrail::paint(QPainter *painter, qint64 now) const
{
    if (!dotShown)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    QColor c = colour;
    for (size_t i = 1; i <= trail.size(); ++i) {
        const QPointF &from = trail[i - 1].pos;
        const QPointF &to = i < trail.size() ? trail[i].pos : dot;
        const double life = 1.0 - double(now - trail[i - 1].time) / LifeMs;
        if (life <= 0 || from == to)
            continue;
        c.setAlphaF(float(0.7 * life));
        painter->setPen(QPen(c, qMax(1.0, size * 0.6 * life), Qt::SolidLine, Qt::RoundCap));
        painter->drawLine(from, to);
    }
    painter->setPen(Qt::NoPen);
    c.setAlphaF(0.3f);
    painter->setBrush(c);
    painter->drawEllipse(dot, size * 2.0 / 3, size * 2.0 / 3);
    painter->setBrush(colour);
    painter->drawEllipse(dot, size / 2.0, size / 2.0);
    painter->restore();
}
