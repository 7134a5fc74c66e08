#pragma once

#include "document/pagehost.h"
#include "viewtransform.h"

#include <functional>

class QCursor;
class QImage;
class QPainter;
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
    // The image of the current page's layer objects, in page pixels. Null
    // without a page.
    virtual const QImage *layer() const = 0;
    // Paints into the layer with `paint`, in page pixels, as a tool adds to
    // it before its command is pushed: into the page's own layer and, while
    // the page is zoomed, into the sharp layer on screen too. `paint` may be
    // called more than once and must paint the same each time.
    virtual void paintLayer(const std::function<void(QPainter &)> &paint) = 0;
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

    // Moves the page on screen by `delta` canvas pixels, as far as it
    // overflows its window.
    virtual void panBy(const QPointF &delta) = 0;

    // The canvas as a widget, to parent an in-place editor that must sit
    // over the page and go with it. It lives exactly as long as the host.
    virtual QWidget *widget() = 0;
};
