#include "spotlighttool.h"

#include "app/appstate.h"
#include "mainview.h"

#include <QPainter>
#include <QPainterPath>
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

QRect SpotlightTool::circleRect() const
{
    const int r = radius() + 2;
    return QRect(int(std::floor(middle.x())) - r, int(std::floor(middle.y())) - r, 2 * r + 2,
                 2 * r + 2);
}

void SpotlightTool::aim(MainView *view, const QPointF &pt)
{
    middle = pt;
    aimed = true;
    shownOn = view;
    view->update();
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
    if (pt == middle)
        return;
    const QRect before = circleRect();
    middle = pt;
    view->update(QRegion(before) + circleRect());
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
    const QRect before = circleRect();
    const double wanted = stored * std::pow(NotchFactor, notches);
    stored = std::clamp(int(std::lround(wanted)), PresenterSettings::MinRadius,
                        PresenterSettings::MaxRadius);
    if (aimed && shownOn == view)
        view->update(QRegion(before) + circleRect());
    return true;
}

// Outside the circle's square plain rectangles (cheap when clipped to a
// small repaint); only the square itself needs the antialiased hole.
void SpotlightTool::paint(QPainter *painter)
{
    if (!aimed || !shownOn)
        return;
    const QColor dark(0, 0, 0, AppState::instance().presenter.spotlightOpacity * 255 / 100);
    const QRect square = circleRect();
    for (const QRect &part : QRegion(shownOn->rect()).subtracted(square))
        painter->fillRect(part, dark);
    QPainterPath hole;
    hole.setFillRule(Qt::OddEvenFill);
    hole.addRect(QRectF(square));
    hole.addEllipse(middle, radius(), radius());
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->fillPath(hole, dark);
    painter->restore();
}

// Chosen again after a page change it still shows; another tool repaints
// the view without it.
void SpotlightTool::reset()
{
    if (shownOn)
        shownOn->update();
}
