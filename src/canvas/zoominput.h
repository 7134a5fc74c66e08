#pragma once

#include <QCursor>
#include <QPointF>

class MainView;
class QKeyEvent;
class QMouseEvent;
class QNativeGestureEvent;
class QTouchEvent;
class QWheelEvent;

// Zoom and pan by hand on the canvas: Ctrl and the wheel zoom around the
// pointer, the wheel and Shift and the wheel pan, so do the middle button
// and Space held with a drag; two fingers pinch and pan on a touch screen,
// a touchpad's pinch and pan arrive as native gestures. One finger draws.
class ZoomInput
{
public:
    explicit ZoomInput(MainView *view);

    // Each is true when the event was taken for zoom or pan.
    bool wheel(QWheelEvent *event, bool followPointer);
    bool press(QMouseEvent *event);
    bool move(QMouseEvent *event);
    bool release(QMouseEvent *event);
    bool key(QKeyEvent *event);
    bool touch(QTouchEvent *event);
    bool nativeGesture(QNativeGestureEvent *event);
    bool isPanning() const { return panning; }

private:
    // Where a point of the canvas lies in the window the page is placed in.
    QPointF inWindow(const QPointF &viewPoint) const;
    void startPan(const QPointF &global);
    void stopPan();
    void pinch(const QTouchEvent *event);
    // A single finger is handed to the tools as the left button.
    void drawWithFinger(const QTouchEvent *event);

    MainView *view;
    bool spaceHeld = false;
    bool panning = false;
    QPointF panFrom; // global
    QCursor cursorBefore;
    bool pinching = false;
    bool fingerDrawing = false;
    qreal pinchScale = 1;
    qreal pinchSpread = 1;
    QPointF pinchCentre; // window
};
