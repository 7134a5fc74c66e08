#include "drawcursor.h"

#include "app/appstate.h"
#include "app/scaledcursor.h"

#include <QWidget>

void DrawCursor::showOn(QWidget *widget)
{
    const AppState &s = AppState::instance();
    const double scale = s.enableTouchUI ? -s.scaleFactor1 : s.scaleFactor1;
    if (scale != builtFor) {
        cursor = ScaledCursor::make(QStringLiteral(":/Cursor/Cross"), QPoint(11, 11));
        builtFor = scale;
        shown = false;
    }
    if (shown)
        return;
    setting = true;
    widget->setCursor(cursor);
    setting = false;
    shown = true;
}
