#pragma once

#include <QRegion>

// Something painted over the canvas that changes by itself as time passes
// (a fading trail, fading ink). The presenter animator asks each one what
// changed and when it next will, so that frames run only while needed.
class AnimatedLayer
{
public:
    virtual ~AnimatedLayer() = default;

    // The canvas area whose look changed since the last call; what ran out
    // of time is dropped.
    virtual QRegion advance(qint64 now) = 0;
    // Milliseconds from `now` until the next visible change: 0 for the next
    // frame, -1 when nothing will change any more.
    virtual qint64 nextChange(qint64 now) const = 0;
};
