#include "lasertrail.h"

#include <QPainter>

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
        movedArea |= dotRectAt(dot);
        movedArea |= segmentRect(trail.empty() ? dot : trail.back().pos, pt);
    }
    movedArea |= dotRectAt(pt);
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
        trimmedArea |= segmentRect(trail[i - 1].pos, trail[i].pos);
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

// The moves of a frame change pixels around the dot and, as the trail is
// shortened, at its tail: one rectangle each, as a region of the two they
// would become many small ones, which repaint as their far larger bounds.
QRegion LaserTrail::pending() const
{
    return QRegion(movedArea) + trimmedArea;
}

QRegion LaserTrail::clear()
{
    QRegion area = trailArea() + pending();
    if (dotShown)
        area += dotRectAt(dot);
    trail.clear();
    movedArea = trimmedArea = QRect();
    dotShown = false;
    return area;
}

// Pieces whose fade step changed since the last frame, as a few rectangles
// each around a run of neighbouring pieces: one per piece would make a
// region that repaints as the bounds of the whole trail.
QRegion LaserTrail::fadedArea(qint64 now) const
{
    const auto area = [](const QRect &r) { return qint64(r.width()) * r.height(); };
    QRegion faded;
    QRect run;
    qint64 runArea = 0;
    for (size_t i = 1; i < trail.size(); ++i) {
        const qint64 time = trail[i - 1].time;
        if (stepAt(time, now) == stepAt(time, lastFrame))
            continue;
        const QRect piece = segmentRect(trail[i - 1].pos, trail[i].pos);
        if (!run.isEmpty() && area(run | piece) > 2 * (runArea + area(piece))) {
            faded += run;
            run = QRect();
            runArea = 0;
        }
        run |= piece;
        runArea += area(piece);
    }
    return faded + run;
}

// What moves changed, and the pieces whose fade step changed since the
// last frame; marks that aged out go, but the newest stays where the dot is.
QRegion LaserTrail::advance(qint64 now)
{
    QRegion changed = pending() + fadedArea(now);
    movedArea = trimmedArea = QRect();
    while (trail.size() > 1 && stepAt(trail.front().time, now) >= FadeSteps)
        trail.pop_front();
    lastFrame = now;
    return changed;
}

qint64 LaserTrail::nextChange(qint64 now) const
{
    if (!movedArea.isEmpty() || !trimmedArea.isEmpty())
        return 0;
    if (trail.size() < 2)
        return -1;
    constexpr qint64 stepMs = LifeMs / FadeSteps;
    return stepMs - now % stepMs;
}

// Stamps of the piece's fade step, close enough to make a line.
void LaserTrail::stampAlong(QPainter *painter, const QPointF &from, const QPointF &to, int step,
                            qreal ratio) const
{
    const QImage &stamp = sprites.stamp(step);
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    // Even spacing that ends where the next piece starts: no denser spot at
    // the joins.
    const int count = qMax(1, int(std::ceil(length / sprites.spacing(step))));
    for (int k = 0; k < count; ++k)
        painter->drawImage(devicePlace(from + d * (double(k) / count), stamp, ratio), stamp);
}

// Where a picture of device pixels centred on `pt` goes: whole device
// pixels, where it is copied rather than resampled.
QPoint LaserTrail::devicePlace(const QPointF &pt, const QImage &picture, qreal ratio)
{
    return QPoint(int(std::lround(pt.x() * ratio)) - picture.width() / 2,
                  int(std::lround(pt.y() * ratio)) - picture.height() / 2);
}

void LaserTrail::paintTrail(QPainter *painter, qint64 now, const QRegion &exposed,
                            qreal ratio) const
{
    for (size_t i = 1; i <= trail.size(); ++i) {
        const QPointF &from = trail[i - 1].pos;
        const QPointF &to = i < trail.size() ? trail[i].pos : dot;
        const int step = stepAt(trail[i - 1].time, now);
        if (step < FadeSteps && from != to && exposed.intersects(segmentRect(from, to)))
            stampAlong(painter, from, to, step, ratio);
    }
}

// Painted in device pixels: the painter's own scaling undone, the pictures
// land one for one.
void LaserTrail::paint(QPainter *painter, qint64 now, const QRegion &exposed) const
{
    if (!dotShown)
        return;
    const qreal ratio = painter->device()->devicePixelRatioF();
    sprites.update(colour, size, ratio);
    painter->save();
    painter->setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio), true);
    paintTrail(painter, now, exposed, ratio);
    if (exposed.intersects(dotRectAt(dot)))
        painter->drawImage(devicePlace(dot, sprites.dot(), ratio), sprites.dot());
    painter->restore();
}
