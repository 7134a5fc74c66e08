#pragma once

#include "animatedlayer.h"

#include <QImage>
#include <QRect>

#include <memory>
#include <vector>

class Obj;
class QPainter;

// Strokes that fade out by themselves: each one stays for its life after the
// pen lifts, fading over the last part of it, then is gone. They never belong
// to a page, so no undo step, export or saved document sees them; each keeps
// its own clock, so strokes drawn while others fade stay independent.
class FadingInk : public AnimatedLayer
{
public:
    FadingInk();
    ~FadingInk() override;

    // Takes `obj`, lifted at `now`, to vanish `lifeMs` later. It is drawn
    // once, within `bounds`, into a picture at the device pixel `ratio`:
    // every frame then only blends that picture, and a stroke painted piece
    // by piece fades evenly. Returns the area it covers.
    QRect add(std::unique_ptr<Obj> obj, qint64 now, qint64 lifeMs, const QRect &bounds,
              qreal ratio);
    // Drops every stroke at once (the page changed); returns their area.
    QRegion clear();
    int count() const { return int(strokes.size()); }
    // 1 while a stroke shows fully, down to 0 when it is gone.
    static double opacityAt(qint64 age, qint64 lifeMs);
    // Paints the strokes that reach `exposed`.
    void paint(QPainter *painter, qint64 now, const QRegion &exposed) const;

    QRegion advance(qint64 now) override;
    qint64 nextChange(qint64 now) const override;

private:
    struct Stroke
    {
        QImage picture;
        qint64 lifted;
        qint64 life;
        QRect area;
    };
    static qint64 fadeMs(qint64 lifeMs);

    std::vector<Stroke> strokes;
};
