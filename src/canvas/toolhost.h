#pragma once

#include "document/pagehost.h"
#include "viewtransform.h"

class QCursor;
class QImage;
class QRegion;
class QUndoCommand;
class QWidget;

// The canvas as the tools see it: what a tool may ask of it, and no more of
// the widget than a tool needs. The canvas implements it. Points and
// rectangles are in page pixels unless a name says otherwise.
class ToolHost : public PageHost
{
public:
    using PageHost::repaint;

    // Performs `command` on the current page and keeps it for undo; without
    // a page the command is deleted and the answer is false.
    virtual bool pushCommand(QUndoCommand *command) = 0;
    // The image of the current page's layer objects, for a tool to draw
    // into; it is painted from then on. Null without a page.
    virtual QImage *layer() const = 0;
    // The topmost object of the current page at `point`, or null.
    virtual Obj *objectAt(const QPointF &point) const = 0;

    // Schedules a repaint of `region`.
    virtual void repaint(const QRegion &region) = 0;
    // Paints `rect` at once.
    virtual void repaintNow(const QRect &rect) = 0;
    // Schedules a repaint of the whole canvas, its frame and label too.
    virtual void repaintAll() = 0;

    // Between page pixels and the canvas's own.
    virtual ViewTransform transform() const = 0;
    // Device pixels per canvas pixel on the canvas's screen.
    virtual qreal deviceRatio() const = 0;

    // The cross of the drawing tools; called on every move, so cheap unless
    // the cursor changes.
    virtual void setDrawCursor() = 0;
    virtual void showCursor(const QCursor &cursor) = 0;
    virtual Qt::CursorShape cursorShape() const = 0;

    // Where the canvas lies in its window (in the window's pixels) and the
    // window's size, invalid without one: a page larger than its window is
    // panned by placing the canvas elsewhere in it.
    virtual QRect placement() const = 0;
    virtual QSize windowSize() const = 0;
    virtual void place(const QPoint &topLeft) = 0;

    // The canvas as a widget, to parent an in-place editor that must sit
    // over the page and go with it. It lives exactly as long as the host.
    virtual QWidget *widget() = 0;
};
