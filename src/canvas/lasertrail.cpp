#include "lasertrail.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
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

// Steps are counted on one clock for all marks, so the whole trail takes its
// next step at the same moment: one repaint per step, not one per mark.
int LaserTrail::stepAt(qint64 markTime, qint64 now)
{
    constexpr qint64 stepMs = LifeMs / FadeSteps;
    return int(std::clamp<qint64>(now / stepMs - markTime / stepMs, 0, FadeSteps));
}

void LaserTrail::moveTo(const QPointF &pt, qint64 now)
{
    if (dotShown) {
        pending += dotRectAt(dot);
        pending += segmentRect(trail.empty() ? dot : trail.back().pos, pt);
    }
    pending += dotRectAt(pt);
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
    shorten();
}

void LaserTrail::shorten()
{
    double length = 0;
    size_t keep = trail.size();
    while (keep > 1 && length <= MaxLength) {
        --keep;
        const QPointF d = trail[keep].pos - trail[keep - 1].pos;
        length += std::hypot(d.x(), d.y());
    }
    // trail[keep - 1] is the first mark beyond the length, if any
    for (size_t i = 1; keep > 1 && i < keep; ++i)
        pending += segmentRect(trail[i - 1].pos, trail[i].pos);
    if (keep > 1)
        trail.erase(trail.begin(), trail.begin() + std::ptrdiff_t(keep - 1));
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
    QRegion area = trailArea() + pending;
    if (dotShown)
        area += dotRectAt(dot);
    trail.clear();
    pending = QRegion();
    dotShown = false;
    return area;
}

// What moves changed, and the pieces whose fade step changed since the
// last frame; marks that aged out go, but the newest stays where the dot is.
QRegion LaserTrail::advance(qint64 now)
{
    QRegion changed = pending;
    pending = QRegion();
    for (size_t i = 1; i < trail.size(); ++i) {
        const qint64 time = trail[i - 1].time;
        if (stepAt(time, now) != stepAt(time, lastFrame))
            changed += segmentRect(trail[i - 1].pos, trail[i].pos);
    }
    while (trail.size() > 1 && stepAt(trail.front().time, now) >= FadeSteps)
        trail.pop_front();
    lastFrame = now;
    return changed;
}

qint64 LaserTrail::nextChange(qint64 now) const
{
    if (!pending.isEmpty())
        return 0;
    if (trail.size() < 2)
        return -1;
    constexpr qint64 stepMs = LifeMs / FadeSteps;
    return stepMs - now % stepMs;
}

// Pieces of one fade step are stroked as one polyline: a few strokes a
// frame instead of one per piece, and no doubled alpha where pieces join.
void LaserTrail::paintTrail(QPainter *painter, qint64 now, const QRect &exposed) const
{
    QPolygonF run;
    int runStep = -1;
    const auto flush = [&] {
        if (run.size() > 1 && runStep < FadeSteps) {
            const double life = 1.0 - double(runStep) / FadeSteps;
            QColor c = colour;
            c.setAlphaF(float(0.7 * life));
            painter->setPen(
                QPen(c, qMax(1.0, size * 0.6 * life), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            painter->drawPolyline(run);
        }
        run.clear();
    };
    for (size_t i = 1; i <= trail.size(); ++i) {
        const QPointF &from = trail[i - 1].pos;
        const QPointF &to = i < trail.size() ? trail[i].pos : dot;
        const int step = stepAt(trail[i - 1].time, now);
        const bool shown
            = from != to && (!exposed.isValid() || exposed.intersects(segmentRect(from, to)));
        if (!shown || step != runStep)
            flush();
        if (!shown)
            continue;
        if (run.isEmpty())
            run.append(from);
        run.append(to);
        runStep = step;
    }
    flush();
}

void LaserTrail::paint(QPainter *painter, qint64 now, const QRect &exposed) const
{
    if (!dotShown)
        return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setBrush(Qt::NoBrush);
    paintTrail(painter, now, exposed);
    if (!exposed.isValid() || exposed.intersects(dotRectAt(dot))) {
        painter->setPen(Qt::NoPen);
        QColor glow = colour;
        glow.setAlphaF(0.3f);
        painter->setBrush(glow);
        painter->drawEllipse(dot, size * 2.0 / 3, size * 2.0 / 3);
        painter->setBrush(colour);
        painter->drawEllipse(dot, size / 2.0, size / 2.0);
    }
    painter->restore();
}
