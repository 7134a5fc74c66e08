#include "spotlightmotion.h"

#include "spotlightshade.h"

void SpotlightMotion::jumpTo(const QPointF &centre, int radius)
{
    painted = wanted = centre;
    paintedRadius = wantedRadius = radius;
    pending = false;
}

void SpotlightMotion::moveTo(const QPointF &centre, int radius)
{
    wanted = centre;
    wantedRadius = radius;
    pending = wanted != painted || wantedRadius != paintedRadius;
}

QRegion SpotlightMotion::advance(qint64)
{
    if (!pending)
        return QRegion();
    const QRegion changed = SpotlightShade::change(painted, paintedRadius, wanted, wantedRadius);
    painted = wanted;
    paintedRadius = wantedRadius;
    pending = false;
    return changed;
}

qint64 SpotlightMotion::nextChange(qint64) const
{
    return pending ? 0 : -1;
}
