#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QRect>
#include <QThreadPool>

#include <deque>

class MainPage;
class Obj;
class QUndoCommand;

// Pixels of the current page's layer under the rectangle an undo or redo
// changes, rendered or saved ahead, so that the step copies them back instead
// of painting again every object that crosses the rectangle. A patch shows
// the page below a command of its history, or with it: whenever that command
// is undone or redone, the page is as it was when the patch was taken.
// Patches stay within a byte budget; the oldest go first.
class LayerPatches : public QObject
{
    Q_OBJECT

public:
    explicit LayerPatches(qint64 budget, QObject *pParent = nullptr);
    ~LayerPatches() override;

    // `pushed` laid objects over `below` inside `rect`: a worker renders
    // `below` there, for the undo of that command.
    void renderBelow(const MainPage *page, const QUndoCommand *pushed, const QList<Obj *> &below,
                     const QRect &rect);
    // The undo (`undo`) or redo of `command` changes `layer` inside `rect`:
    // copies in the patch for it, if there is one. With `keepBack`, the
    // pixels the layer had there are kept first for the step back.
    bool step(const MainPage *page, const QUndoCommand *command, bool undo, const QRect &rect,
              QImage *layer, bool keepBack);
    // The commands went out of the history: a new one may take their address.
    void forget(const QList<const QUndoCommand *> &commands);
    void clear();
    bool isRendering() const { return !copiesOf.isEmpty(); }
    // Patches copy device pixels: whole ones only.
    static bool fits(const MainPage *page);

private:
    struct Key
    {
        int pageId = 0;
        const QUndoCommand *command = nullptr;
        bool below = true; // the page below the command, or with it
        QRect rect;
        bool operator==(const Key &other) const
        {
            return pageId == other.pageId && command == other.command && below == other.below
                && rect == other.rect;
        }
    };
    struct Patch
    {
        Key key;
        QImage pixels;
    };
    void add(const Key &key, QImage pixels);
    void arrive(quint64 ticket, const Key &key, QImage pixels);

    qint64 budget;
    qint64 used = 0;
    std::deque<Patch> patches;
    // The copies of the objects each render paints, deleted on this thread.
    QHash<quint64, QList<Obj *>> copiesOf;
    quint64 nextTicket = 0;
    // Renders of this ticket or older were under way at a clear: dropped.
    quint64 clearedTicket = 0;
    QThreadPool pool;
};
