#include "lasertool.h"

#include "app/appstate.h"
#include "presenterkit.h"

#include <QCursor>

void LaserTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *)
{
    pointAt(host, pt);
}

void LaserTool::pointAt(ToolHost *host, const QPointF &pt)
{
    PresenterKit &kit = PresenterKit::instance();
    const PresenterSettings &s = AppState::instance().presenter;
    // The dot is the pointer.
    if (host->cursorShape() != Qt::BlankCursor)
        host->showCursor(Qt::BlankCursor);
    kit.laser().setLook(s.laserColor, s.laserSize);
    kit.laser().moveTo(pt, kit.animator().now());
    shownOn = host;
    kit.animator().setTarget(host);
    kit.animator().wake();
}

void LaserTool::reset()
{
    const QRegion area = PresenterKit::instance().laser().clear();
    if (shownOn)
        shownOn->repaint(area);
}
