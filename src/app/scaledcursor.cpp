#include "scaledcursor.h"

#include "appstate.h"
#include "resourcepixmap.h"

QCursor ScaledCursor::make(const QString &strPath, const QPoint &hotSpot)
{
    const AppState &s = AppState::instance();
    const bool highRes = s.enableTouchUI || s.scaleFactor1 <= 1.0;
    const QPixmap picture = ResourcePixmap::load(strPath, highRes);
    const int side = s.scaled(24);
    if (picture.isNull() || side <= 0)
        return QCursor(Qt::CrossCursor);
    const double factor = side / 24.0;
    const QPixmap cursor
        = picture.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return QCursor(cursor, int(hotSpot.x() * factor), int(hotSpot.y() * factor));
}
