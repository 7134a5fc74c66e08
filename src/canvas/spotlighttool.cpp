#include "spotlighttool.h"

#include "app/appstate.h"
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

void SpotlightTool::aim(ToolHost *host, const QPointF &pt)
{
    PresenterKit::instance().spotlight().jumpTo(pt, radius());
    aimed = true;
    shownOn = host;
    host->repaintAll();
}

void SpotlightTool::repaintSoon(ToolHost *host)
{
    PresenterAnimator &animator = PresenterKit::instance().animator();
    animator.setTarget(host);
    animator.wake();
}

void SpotlightTool::pointAt(ToolHost *host, const QPointF &pt)
{
    if (!aimed || shownOn.get() != host) {
        aim(host, pt);
        return;
    }
    PresenterKit::instance().spotlight().moveTo(pt, radius());
    repaintSoon(host);
}

bool SpotlightTool::wheel(ToolHost *host, QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0)
        return true;
    int &stored = AppState::instance().presenter.spotlightRadius;
    const int before = stored;
    const double wanted = stored * std::pow(NotchFactor, notches);
    stored = std::clamp(int(std::lround(wanted)), PresenterSettings::MinRadius,
                        PresenterSettings::MaxRadius);
    if (aimed && shownOn.get() == host && stored != before) {
        PresenterKit::instance().spotlight().moveTo(centre(), stored);
        repaintSoon(host);
    }
    return true;
}

void SpotlightTool::paint(QPainter *painter, const QRegion &dirty)
{
    if (!aimed || !shownOn)
        return;
    shade.paint(painter, dirty.intersected(shownOn->transform().pageRect()), centre(), radius(),
                AppState::instance().presenter.spotlightOpacity, shownOn->deviceRatio());
}

// Chosen again after a page change it still shows; another tool repaints
// the view without it.
void SpotlightTool::reset()
{
    if (shownOn)
        shownOn->repaintAll();
}
