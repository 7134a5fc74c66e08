#include "toolbarscale.h"

#include "app/appstate.h"

#include <QWidget>

namespace {

constexpr int PlainSteps = 4;

int step()
{
    return qBound(0, AppState::instance().toolWidgetUISize, ToolbarScale::LargestStep);
}

} // namespace

double ToolbarScale::ui(const QWidget *pWidget)
{
    return AppState::instance().enableTouchUI ? 2.0 : pWidget->logicalDpiX() / 96.0;
}

int ToolbarScale::px(const QWidget *pWidget, double base)
{
    return qRound(base * ui(pWidget));
}

double ToolbarScale::zoom()
{
    return 1.0 + qMax(0, step() - PlainSteps) / 4.0;
}

int ToolbarScale::barPx(const QWidget *pWidget, double base)
{
    return qRound(base * ui(pWidget) * zoom());
}

int ToolbarScale::buttonSide(const QWidget *pWidget)
{
    return barPx(pWidget, 30 + qMin(step(), PlainSteps));
}
