#pragma once

#include "fadingink.h"
#include "lasertrail.h"
#include "presenteranimator.h"
#include "spotlightmotion.h"

#include <QObject>

class Obj;
class QPainter;
class QRect;
class ToolHost;

// What presenters use over a slideshow or a live demo besides the drawing
// tools: the laser pointer's trail, fading ink, the spotlight's circle and
// the one animator behind them. The laser and spotlight tools and the pen use it; the canvas paints
// it over the page. One process-wide instance; tests call reset().
class PresenterKit : public QObject
{
    Q_OBJECT
public:
    static PresenterKit &instance();
    // Replaces the instance by a fresh one (tests).
    static void reset();

    PresenterAnimator &animator() { return clock; }
    LaserTrail &laser() { return trail; }
    FadingInk &ink() { return fading; }
    SpotlightMotion &spotlight() { return circle; }

    // Whether the pen draws fading ink; kept in the settings.
    bool fadingInk() const;
    void setFadingInk(bool bOn);

    // A finished pen stroke or line in fading ink: `obj` (owned from now on)
    // leaves the canvas's layer, where the pen painted it, and starts to fade.
    void takeStroke(ToolHost *host, Obj *obj);
    // A page switch leaves the fading ink behind.
    void pageChanged();
    // The fading ink, then the laser's dot and trail while it shows.
    void paint(QPainter *painter, const QRegion &exposed) const;

Q_SIGNALS:
    void fadingInkChanged(bool bOn);

private:
    PresenterKit();

    PresenterAnimator clock;
    LaserTrail trail;
    FadingInk fading;
    SpotlightMotion circle;
};
