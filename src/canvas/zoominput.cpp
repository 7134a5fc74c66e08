#include "zoominput.h"

#include "mainview.h"
#include "tool.h"
#include "toolkit.h"

#include <QKeyEvent>
#include <QLineF>
#include <QNativeGestureEvent>
#include <QTouchEvent>
#include <QWheelEvent>

#include <cmath>

namespace {
// A wheel notch zooms one step of the ladder, or pans three lines of text.
constexpr qreal NotchAngle = 120;
constexpr qreal NotchPan = 60;

QPointF centreOf(const QTouchEvent *event)
{
    const QList<QEventPoint> &points = event->points();
    return (points.at(0).position() + points.at(1).position()) / 2;
}

qreal spreadOf(const QTouchEvent *event)
{
    const QList<QEventPoint> &points = event->points();
    return qMax(1.0, QLineF(points.at(0).position(), points.at(1).position()).length());
}
} // namespace

ZoomInput::ZoomInput(MainView *pView)
    : view(pView)
{
}

QPointF ZoomInput::inWindow(const QPointF &viewPoint) const
{
    return viewPoint + QPointF(view->pos());
}

bool ZoomInput::wheel(QWheelEvent *event, bool followPointer)
{
    const QPoint angle = event->angleDelta();
    if (event->modifiers().testFlag(Qt::ControlModifier) || followPointer) {
        const qreal notches = (angle.y() != 0 ? angle.y() : angle.x()) / NotchAngle;
        if (notches != 0)
            view->zoomTo(view->zoom() * std::exp2(notches / 3), inWindow(event->position()));
        return true;
    }
    if (view->isFitted())
        return false;
    QPointF delta = !event->pixelDelta().isNull() ? QPointF(event->pixelDelta())
                                                  : QPointF(angle) / NotchAngle * NotchPan;
    if (event->modifiers().testFlag(Qt::ShiftModifier) && delta.x() == 0)
        delta = QPointF(delta.y(), 0);
    view->panBy(delta);
    return true;
}

bool ZoomInput::press(QMouseEvent *event)
{
    const bool middle = event->button() == Qt::MiddleButton;
    if (!middle && !(spaceHeld && event->button() == Qt::LeftButton))
        return panning;
    startPan(event->globalPosition());
    return true;
}

bool ZoomInput::move(QMouseEvent *event)
{
    if (!panning)
        return false;
    const QPointF global = event->globalPosition();
    view->panBy(global - panFrom);
    panFrom = global;
    return true;
}

bool ZoomInput::release(QMouseEvent *event)
{
    if (!panning)
        return false;
    if (!(event->buttons() & (Qt::MiddleButton | Qt::LeftButton)))
        stopPan();
    return true;
}

bool ZoomInput::key(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space || event->modifiers() != Qt::NoModifier)
        return false;
    if (event->isAutoRepeat())
        return true;
    const bool down = event->type() == QEvent::KeyPress;
    if (down == spaceHeld)
        return true;
    spaceHeld = down;
    if (down && !panning) {
        cursorBefore = view->cursor();
        view->setCursor(Qt::OpenHandCursor);
    } else if (!down && !panning) {
        view->setCursor(cursorBefore);
    }
    return true;
}

void ZoomInput::startPan(const QPointF &global)
{
    if (!panning && !spaceHeld)
        cursorBefore = view->cursor();
    panning = true;
    panFrom = global;
    view->setCursor(Qt::ClosedHandCursor);
}

void ZoomInput::stopPan()
{
    panning = false;
    if (spaceHeld)
        view->setCursor(Qt::OpenHandCursor);
    else
        view->setCursor(cursorBefore);
}

bool ZoomInput::touch(QTouchEvent *event)
{
    const int fingers = int(event->points().size());
    if (fingers >= 2 || pinching) {
        if (fingerDrawing) {
            // The second finger turns the stroke begun into a pinch.
            ToolKit::instance().currentTool()->cancelGesture();
            fingerDrawing = false;
        }
        pinch(event);
        return true;
    }
    drawWithFinger(event);
    return true;
}

void ZoomInput::pinch(const QTouchEvent *event)
{
    if (event->type() == QEvent::TouchEnd || event->type() == QEvent::TouchCancel) {
        pinching = false;
        return;
    }
    // One finger left of a pinch waits for its end.
    if (event->points().size() < 2)
        return;
    const QPointF centre = inWindow(centreOf(event));
    const qreal spread = spreadOf(event);
    if (!pinching) {
        pinching = true;
        pinchScale = view->zoom();
        pinchSpread = spread;
        pinchCentre = centre;
        return;
    }
    view->panBy(centre - pinchCentre);
    view->zoomTo(pinchScale * spread / pinchSpread, centre);
    pinchCentre = centre;
}

void ZoomInput::drawWithFinger(const QTouchEvent *event)
{
    const QEventPoint &point = event->points().constFirst();
    QEvent::Type type = QEvent::MouseMove;
    Qt::MouseButtons held = Qt::LeftButton;
    if (event->type() == QEvent::TouchBegin) {
        type = QEvent::MouseButtonPress;
        fingerDrawing = true;
    } else if (event->type() == QEvent::TouchEnd || event->type() == QEvent::TouchCancel) {
        type = QEvent::MouseButtonRelease;
        held = Qt::NoButton;
    }
    if (!fingerDrawing)
        return;
    QMouseEvent mouse(type, point.position(), point.globalPosition(), Qt::LeftButton, held,
                      event->modifiers());
    view->handMouse(&mouse);
    if (type == QEvent::MouseButtonRelease)
        fingerDrawing = false;
}

bool ZoomInput::nativeGesture(QNativeGestureEvent *event)
{
    const QPointF at = inWindow(event->position());
    switch (event->gestureType()) {
    case Qt::ZoomNativeGesture:
        view->zoomTo(view->zoom() * (1 + event->value()), at);
        return true;
    case Qt::PanNativeGesture:
        view->panBy(event->delta());
        return true;
    case Qt::SmartZoomNativeGesture:
        if (view->isFitted())
            view->zoomTo(2, at);
        else
            view->zoomToFit();
        return true;
    default:
        return false;
    }
}
