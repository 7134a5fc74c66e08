#include "presenteranimator.h"

#include "animatedlayer.h"

#include <algorithm>

PresenterAnimator::PresenterAnimator(QObject *pParent)
    : QObject(pParent)
{
    elapsed.start();
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, this, &PresenterAnimator::tick);
}

qint64 PresenterAnimator::now() const
{
    return clock ? clock() : elapsed.elapsed();
}

void PresenterAnimator::setClock(Clock newClock)
{
    clock = std::move(newClock);
}

void PresenterAnimator::setTarget(ToolHost *pTarget)
{
    target = pTarget;
}

void PresenterAnimator::addLayer(AnimatedLayer *layer)
{
    layers.append(layer);
}

// Pointer moves call this many times a frame: a frame already planned soon
// enough is left alone, or a stream of moves would keep postponing it.
void PresenterAnimator::wake()
{
    const qint64 delay = nextDelay();
    if (delay < 0)
        return;
    if (!timer.isActive() || timer.remainingTime() > std::max<qint64>(delay, FrameMs))
        schedule(delay);
}

void PresenterAnimator::tick()
{
    const qint64 t = now();
    QRegion changed;
    for (AnimatedLayer *layer : std::as_const(layers))
        changed += layer->advance(t);
    if (target && !changed.isEmpty())
        repaint(cheaperToRepaint(changed));
    schedule(nextDelay());
}

// A few rectangles (the laser's head and tail) are painted one by one: a
// clip of one rectangle takes the painter's fast paths, where a clip of
// several makes every blit walk spans. Many stay one paint of the region.
void PresenterAnimator::repaint(const QRegion &area)
{
    if (area.rectCount() > MaxSeparatePaints) {
        target->repaint(area);
        return;
    }
    for (const QRect &r : area)
        target->repaintNow(r);
}

// A repaint of several rectangles costs a pass per row of each; one
// rectangle takes the painter's fast paths. A few scattered pieces (the
// laser's head and tail) stay a region; many (a moving circle's edge) become
// their bounds unless those are large.
QRegion PresenterAnimator::cheaperToRepaint(const QRegion &changed)
{
    const QRect bounds = changed.boundingRect();
    const qint64 boundsArea = qint64(bounds.width()) * bounds.height();
    qint64 area = 0;
    for (const QRect &r : changed)
        area += qint64(r.width()) * r.height();
    const bool many = changed.rectCount() > 16 && boundsArea <= 120000;
    return boundsArea <= 4 * area || many ? QRegion(bounds) : changed;
}

qint64 PresenterAnimator::nextDelay() const
{
    const qint64 t = now();
    qint64 earliest = -1;
    for (const AnimatedLayer *layer : layers) {
        const qint64 delay = layer->nextChange(t);
        if (delay >= 0 && (earliest < 0 || delay < earliest))
            earliest = delay;
    }
    return earliest;
}

void PresenterAnimator::schedule(qint64 delay)
{
    if (delay < 0) {
        timer.stop();
        return;
    }
    timer.start(int(std::clamp<qint64>(delay, FrameMs, 60000)));
}
