#include "lasertool.h"

#include "app/appstate.h"
#include "mainview.h"
#include "presenterkit.h"

void LaserTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mouseMove(view, pt, event);
}

void LaserTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *)
{
    PresenterKit &kit = PresenterKit::instance();
    const PresenterSettings &s = AppState::instance().presenter;
    // The dot is the pointer.
    if (view->cursor().shape() != Qt::BlankCursor)
        view->setCursor(Qt::BlankCursor);
    kit.laser().setLook(s.laserColor, s.laserSize);
    kit.laser().moveTo(pt, kit.animator().now());
    shownOn = view;
    kit.animator().setTarget(view);
    kit.animator().wake();
}

void LaserTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mouseMove(view, pt, event);
}

void LaserTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mouseMove(view, pt, event);
}

void LaserTool::reset()
{
    const QRegion area = PresenterKit::instance().laser().clear();
    if (shownOn)
        shownOn->repaint(area);
}
