#pragma once

#include "animatedlayer.h"
#include "lasersprites.h"

#include <QColor>
#include <QPointF>
#include <QRect>

#include <deque>

class QPainter;

// The laser pointer's look: a bright dot where the pointer is and a short
// trail behind it that thins and fades within LifeMs, in FadeSteps steps
// taken by the whole trail at once, so that only those frames repaint it. Moves are
// collected and repainted on the next frame. Nothing of it belongs to the
// page.
class LaserTrail : public AnimatedLayer
{
public:
    static constexpr qint64 LifeMs = 500;
    static constexpr int FadeSteps = LaserSprites::Steps;
    // A fast sweep keeps only this much trail behind the dot.
    static constexpr double MaxLength = 300;

    void setLook(const QColor &colour, int size);
    // The pointer moved to `pt`; the next frame repaints what changed.
    void moveTo(const QPointF &pt, qint64 now);
    // Forgets the dot and the trail; returns the area they covered.
    QRegion clear();
    bool hasDot() const { return dotShown; }
    int trailLength() const { return int(trail.size()); }
    // Paints what reaches `exposed`.
    void paint(QPainter *painter, qint64 now, const QRegion &exposed) const;

    QRegion advance(qint64 now) override;
    qint64 nextChange(qint64 now) const override;

private:
    struct Mark
    {
        QPointF pos;
        qint64 time;
    };
    QRect dotRectAt(const QPointF &pt) const;
    QRect segmentRect(const QPointF &a, const QPointF &b) const;
    QRegion trailArea() const;
    QRegion pending() const;
    QRegion fadedArea(qint64 now) const;
    void shorten();
    void paintTrail(QPainter *painter, qint64 now, const QRegion &exposed, qreal ratio) const;
    void stampAlong(QPainter *painter, const QPointF &from, const QPointF &to, int step,
                    qreal ratio) const;
    static QPoint devicePlace(const QPointF &pt, const QImage &picture, qreal ratio);
    static int stepAt(qint64 markTime, qint64 now);

    QColor colour = Qt::red;
    int size = 16;
    QPointF dot;
    bool dotShown = false;
    std::deque<Mark> trail; // oldest first; the newest ends at the dot
    // What moves changed since the last frame.
    QRect movedArea;
    QRect trimmedArea;
    qint64 lastFrame = 0;
    mutable LaserSprites sprites; // drawn on the first paint of a look
};
