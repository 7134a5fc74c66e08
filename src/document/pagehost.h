#pragma once

#include <QList>
#include <QRect>

class MainPage;
class Obj;
class QUndoCommand;

// The canvas as the undo commands see it. The canvas implements it; commands
// keep the host they were built with for their whole life, so the host must
// outlive every page's undo stack. All rectangles are in page pixels.
class PageHost
{
public:
    virtual ~PageHost() = default;

    // The page being shown and edited; null when the document has no page.
    // A command binds to this page when it is built and only ever changes it.
    virtual MainPage *currentPage() const = 0;

    // Brings the layer image of `page` up to date inside `rect`: clears the
    // rectangle and paints again the layer objects crossing it. An invalid
    // rectangle rebuilds the whole layer. A page that is not current may be
    // ignored, since its layer is rebuilt when it becomes current.
    virtual void updateObjectCache(MainPage *page, const QRect &rect) = 0;

    // The same for the undo or redo of `step`, one of the page's history.
    virtual void updateForHistoryStep(MainPage *page, const QRect &rect, const QUndoCommand *step)
    {
        Q_UNUSED(step);
        updateObjectCache(page, rect);
    }

    // Schedules a repaint of `rect` on screen; it does not paint at once.
    virtual void repaint(const QRect &rect) = 0;

    // The select tool's selection of floating objects, in selection order.
    virtual QList<Obj *> selection() const = 0;

    // Appends `obj` to the selection; does nothing when it is already there.
    virtual void addToSelection(Obj *obj) = 0;

    // Removes `obj` from the selection; does nothing when it is not there.
    virtual void removeFromSelection(Obj *obj) = 0;
};
