#include "tool.h"

#include <QMouseEvent>
#include <QTabletEvent>

void Tool::mousePress(MainView *, const QPointF &pt, QInputEvent *)
{
    gesture().pressPoint = pt;
    gesture().lastPoint = pt;
}

void Tool::mouseMove(MainView *, const QPointF &pt, QInputEvent *)
{
    gesture().lastPoint = pt;
}

void Tool::mouseRelease(MainView *, const QPointF &, QInputEvent *)
{
    gesture().pressed = false;
}

void Tool::mouseDoubleClick(MainView *, const QPointF &, QInputEvent *) { }

bool Tool::wheel(MainView *, QWheelEvent *)
{
    return false;
}

void Tool::paint(QPainter *, const QRegion &) { }

void Tool::reset() { }

Tool::Gesture &Tool::gesture()
{
    static Gesture shared;
    return shared;
}

float Tool::pressureOf(QInputEvent *event)
{
    if (!event)
        return -1;
    switch (event->type()) {
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return float(static_cast<QTabletEvent *>(event)->pressure());
    default:
        return -1;
    }
}

namespace {
const QMouseEvent *asMouseEvent(QInputEvent *event)
{
    if (!event)
        return nullptr;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        return static_cast<const QMouseEvent *>(event);
    default:
        return nullptr;
    }
}
} // namespace

bool Tool::buttonHeld(QInputEvent *event, bool left)
{
    const QMouseEvent *mouse = asMouseEvent(event);
    if (!mouse)
        return left;
    return mouse->buttons().testFlag(left ? Qt::LeftButton : Qt::RightButton);
}

bool Tool::onlyButton(QInputEvent *event, bool left)
{
    const QMouseEvent *mouse = asMouseEvent(event);
    if (!mouse)
        return left;
    return mouse->buttons() == (left ? Qt::LeftButton : Qt::RightButton);
}

Qt::KeyboardModifiers Tool::modifiersOf(QInputEvent *event)
{
    return event ? event->modifiers() : Qt::NoModifier;
}
