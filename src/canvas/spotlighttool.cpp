#include "spotlighttool.h"

#include "app/appstate.h"
#include "mainview.h"
#include "presenterkit.h"

#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {
// Each wheel notch changes the radius by a tenth.
constexpr double NotchFactor = 1.1;
} // namespace

int SpotlightTool::radius() const
{
    return AppState::instance().presenter.spotlightRadius;
}

QPointF SpotlightTool::centre() const
{
    return PresenterKit::instance().spotlight().centre();
}

void SpotlightTool::aim(MainView *view, const QPointF &pt)
{
    PresenterKit::instance().spotlight().jumpTo(pt, radius());
    aimed = true;
    shownOn = view;
    view->update();
}

void SpotlightTool::follow(MainView *view)
{
    PresenterAnimator &animator = PresenterKit::instance().animator();
    animator.setTarget(view);
    animator.wake();
}

void SpotlightTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mouseMove(view, pt, event);
}

void SpotlightTool::mouseMove(MainView *view, const QPointF &pt, QInputEvent *)
{
    if (!aimed || shownOn != view) {
        aim(view, pt);
        return;
    }
    PresenterKit::instance().spotlight().moveTo(pt, radius());
    follow(view);
}

void SpotlightTool::mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mouseMove(view, pt, event);
}

bool SpotlightTool::wheel(MainView *view, QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return true;
    int &stored = AppState::instance().presenter.spotlightRadius;
    const int before = stored;
    const double wanted = stored * std::pow(NotchFactor, notches);
    stored = std::clamp(int(std::lround(wanted)), PresenterSettings::MinRadius,
                        PresenterSettings::MaxRadius);
    if (aimed && shownOn == view && stored != before) {
        PresenterKit::instance().spotlight().moveTo(centre(), stored);
        follow(view);
    }
    return true;
}

void SpotlightTool::paint(QPainter *painter, const QRegion &dirty)
{
    if (!aimed || !shownOn)
        return;
    shade.paint(painter, dirty.intersected(shownOn->pageRect()), centre(), radius(),
                AppState::instance().presenter.spotlightOpacity, shownOn->devicePixelRatioF());
}

// Chosen again after a page change it still shows; another tool repaints
// the view without it.
void SpotlightTool::reset()
{
    if (shownOn)
        shownOn->update();
}
