#include "toolbarscale.h"

#include "app/appstate.h"

#include <QWidget>

double ToolbarScale::ui(const QWidget *pWidget)
{
    return AppState::instance().enableTouchUI ? 2.0 : pWidget->logicalDpiX() / 96.0;
}

int ToolbarScale::px(const QWidget *pWidget, double base)
{
    return qRound(base * ui(pWidget));
}

int ToolbarScale::buttonSide(const QWidget *pWidget)
{
    return px(pWidget, AppState::instance().toolWidgetUISize + 30);
}
