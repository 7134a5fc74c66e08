#pragma once

#include <QObject>
#include <QPointF>

class MainView;
class QInputEvent;
class QPainter;
class QRegion;
class QWheelEvent;

// One way of turning pointer input on the canvas into objects or changes of
// the current page. The tool kit owns one instance of each tool for the whole
// run and forwards the canvas's input to the current one. Points are in page
// pixels, also where the page is shown smaller than its size; the event is
// the originating mouse or tablet event (null when a tool is driven without
// one).
class Tool : public QObject
{
public:
    // The gesture in progress, shared by all tools since only one works at a
    // time.
    struct Gesture
    {
        QPointF pressPoint;
        QPointF lastPoint;
        bool pressed = false; // a drawing gesture is under way
        bool mode = false; // the tool's secondary mode (centre-out, straight)
    };

    ~Tool() override = default;

    virtual void mousePress(MainView *view, const QPointF &pt, QInputEvent *event);
    virtual void mouseMove(MainView *view, const QPointF &pt, QInputEvent *event);
    virtual void mouseRelease(MainView *view, const QPointF &pt, QInputEvent *event);
    virtual void mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event);
    // True when the tool used the wheel turn.
    virtual bool wheel(MainView *view, QWheelEvent *event);
    // Paints the tool's live preview over the canvas where it is dirty.
    virtual void paint(QPainter *painter, const QRegion &dirty);
    // Drops the gesture in progress (tool switch, page change, undo, redo).
    virtual void reset();

    static Gesture &gesture();
    // Stylus pressure from 0 to 1 for tablet events, -1 for anything else.
    static float pressureOf(QInputEvent *event);
    // Whether the left (or right) button is among those held; tablet events
    // answer `left`.
    static bool buttonHeld(QInputEvent *event, bool left);
    // Whether exactly the left (or right) button is held; tablet events
    // answer `left`.
    static bool onlyButton(QInputEvent *event, bool left);
    static Qt::KeyboardModifiers modifiersOf(QInputEvent *event);
};
