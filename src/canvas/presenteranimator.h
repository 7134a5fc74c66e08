#pragma once

#include "hostpointer.h"

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QTimer>

#include <functional>

class AnimatedLayer;

// The one timer behind every presenter animation. Each frame asks the layers
// what changed and repaints only that on the target canvas; the timer then
// waits until the earliest next change and stops when none is coming, so an
// idle canvas costs no CPU. The clock can be replaced (tests drive time).
class PresenterAnimator : public QObject
{
    Q_OBJECT
public:
    using Clock = std::function<qint64()>;
    static constexpr int FrameMs = 16;

    explicit PresenterAnimator(QObject *pParent = nullptr);

    // Milliseconds on a monotonic clock.
    qint64 now() const;
    void setClock(Clock clock);
    // The layers are not owned and must outlive the animator.
    void addLayer(AnimatedLayer *layer);
    void setTarget(ToolHost *pTarget);

    // A layer started to change: frames run from now on until none changes.
    void wake();
    // One frame: repaints what changed and plans the next one.
    void tick();
    bool isRunning() const { return timer.isActive(); }

private:
    // Milliseconds until the earliest change of any layer, or -1.
    qint64 nextDelay() const;
    static QRegion cheaperToRepaint(const QRegion &changed);
    void repaint(const QRegion &area);
    static constexpr int MaxSeparatePaints = 4;
    void schedule(qint64 delay);

    QTimer timer;
    QElapsedTimer elapsed;
    Clock clock;
    QList<AnimatedLayer *> layers;
    HostPointer target;
};
