#include "tool.h"

#include <QMouseEvent>
#include <QTabletEvent>

Tool::Input Tool::Input::of(const QPointF &point, const QInputEvent *event)
{
    Input input;
    input.point = point;
    if (!event)
        return input;
    input.modifiers = event->modifiers();
    switch (event->type()) {
    case QEvent::TabletMove:
        input.button = Qt::NoButton;
        Q_FALLTHROUGH();
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
        input.pressure = float(static_cast<const QTabletEvent *>(event)->pressure());
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        input.button = static_cast<const QMouseEvent *>(event)->button();
        input.buttons = static_cast<const QMouseEvent *>(event)->buttons();
        break;
    default:
        break;
    }
    return input;
}

// A press of the gesture's own button means its release was lost (a grab
// elsewhere took it): the stale gesture goes and the press counts afresh.
void Tool::mousePress(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    const Input input = Input::of(pt, event);
    if (current.active) {
        const bool second
            = input.button != current.button && input.buttons.testFlag(current.button);
        drop(host);
        if (second)
            return;
    }
    if (!begins(input))
        return;
    current.pressPoint = current.lastPoint = pt;
    current.button = input.button;
    current.mode = input.secondary();
    current.active = true;
    current.host = host;
    begin(host, input);
}

void Tool::mouseMove(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    const Input input = Input::of(pt, event);
    if (!current.active || !input.buttons.testFlag(current.button)) {
        hover(host, input);
        return;
    }
    move(host, input);
    current.lastPoint = pt;
}

void Tool::mouseRelease(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    if (!current.active)
        return;
    end(host, Input::of(pt, event));
    current.active = false;
    current.host = nullptr;
}

void Tool::mouseDoubleClick(ToolHost *, const QPointF &, QInputEvent *) { }

bool Tool::wheel(ToolHost *, QWheelEvent *)
{
    return false;
}

void Tool::paint(QPainter *, const QRegion &) { }

void Tool::cancelGesture()
{
    if (current.active)
        drop(current.host.get());
}

// Without its canvas the gesture has nothing left to put back.
void Tool::drop(ToolHost *host)
{
    if (host)
        cancel(host);
    current.active = false;
    current.host = nullptr;
}

void Tool::reset() { }

void Tool::viewMoved(ToolHost *) { }

bool Tool::begins(const Input &input) const
{
    return input.buttons == Qt::LeftButton;
}

void Tool::begin(ToolHost *, const Input &) { }

void Tool::move(ToolHost *, const Input &) { }

void Tool::end(ToolHost *, const Input &) { }

void Tool::cancel(ToolHost *) { }

void Tool::hover(ToolHost *, const Input &) { }
