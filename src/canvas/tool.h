#pragma once

#include "hostpointer.h"

#include <QObject>
#include <QPointF>

class QInputEvent;
class QPainter;
class QRegion;
class QWheelEvent;

// One way of turning pointer input on the canvas into objects or changes of
// the current page. The tool kit owns one instance of each tool for the whole
// run and forwards the canvas's input to the current one.
//
// The base reads mouse and stylus events alike (touch reaches the canvas as
// mouse events) and turns them into one gesture at a time: it begins at a
// press the tool accepts, moves while the button that began it is held and
// ends at the release. Another button pressed meanwhile cancels it, and so do
// a tool switch, a page change, undo and redo; a cancelled gesture leaves the
// page as it was before the press. Points are in page pixels, also where the
// page is shown smaller than its size.
class Tool : public QObject
{
public:
    // One pointer event as the tools read it. A stylus, and a tool driven
    // without an event, count as the left button alone.
    struct Input
    {
        QPointF point;
        Qt::MouseButton button = Qt::LeftButton; // pressed or released; none for a move
        Qt::MouseButtons buttons = Qt::LeftButton; // held
        Qt::KeyboardModifiers modifiers;
        float pressure = -1; // 0 to 1 from a stylus, -1 from anything else

        static Input of(const QPointF &point, const QInputEvent *event);
        // Ctrl asks for the tool's secondary mode (straight pen segments,
        // centred shapes).
        bool secondary() const { return modifiers.testFlag(Qt::ControlModifier); }
    };

    // The gesture under way, or the last one.
    struct Gesture
    {
        QPointF pressPoint;
        QPointF lastPoint; // of the latest press or move
        Qt::MouseButton button = Qt::NoButton; // the one that began it
        bool mode = false; // begun in the secondary mode
        bool active = false;
        HostPointer host;
    };

    ~Tool() override = default;

    // The canvas's input; `event` is the mouse or tablet event, or null.
    void mousePress(ToolHost *host, const QPointF &pt, QInputEvent *event);
    void mouseMove(ToolHost *host, const QPointF &pt, QInputEvent *event);
    void mouseRelease(ToolHost *host, const QPointF &pt, QInputEvent *event);
    virtual void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event);
    // True when the tool used the wheel turn.
    virtual bool wheel(ToolHost *host, QWheelEvent *event);
    // Paints the tool's live preview over the canvas where it is dirty.
    virtual void paint(QPainter *painter, const QRegion &dirty);
    // The page moved on screen (a zoom or a pan): what the tool placed over
    // the canvas follows it.
    virtual void viewMoved(ToolHost *host);
    // Cancels the gesture under way, if any.
    void cancelGesture();
    // Drops what the tool holds between gestures (tool switch, page change,
    // undo, redo); the tool kit cancels the gesture first.
    virtual void reset();

    const Gesture &gesture() const { return current; }

protected:
    // Whether a press begins a gesture; by default the left button alone.
    virtual bool begins(const Input &input) const;
    virtual void begin(ToolHost *host, const Input &input);
    virtual void move(ToolHost *host, const Input &input);
    virtual void end(ToolHost *host, const Input &input);
    // Puts back what the gesture changed.
    virtual void cancel(ToolHost *host);
    // A move with no gesture under way.
    virtual void hover(ToolHost *host, const Input &input);

private:
    void drop(ToolHost *host);

    Gesture current;
};
