#pragma once

#include "animatedlayer.h"

#include <QPointF>

// Where the spotlight's circle is, and what a frame must repaint: pointer
// moves only note the circle's place and size; the next frame repaints where
// the circle painted last differs from the one now, so a fast mouse costs
// one repaint a frame, not one a move.
class SpotlightMotion : public AnimatedLayer
{
public:
    // Shown at once (the caller repaints everything).
    void jumpTo(const QPointF &centre, int radius);
    void moveTo(const QPointF &centre, int radius);
    QPointF centre() const { return wanted; }
    int radius() const { return wantedRadius; }

    QRegion advance(qint64 now) override;
    qint64 nextChange(qint64 now) const override;

private:
    QPointF painted;
    int paintedRadius = 0;
    QPointF wanted;
    int wantedRadius = 0;
    bool pending = false;
};
