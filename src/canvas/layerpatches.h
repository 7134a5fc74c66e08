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

// Pixels of the current page's layer under the rectangle an undo or redo
// changes, rendered or saved ahead, so that the step copies them back instead
// of painting again every object that crosses the rectangle. A patch holds for
// one revision of the page: the one an undo or redo finds when it asks for
// that rectangle. Patches stay within a byte budget; the oldest go first.
class LayerPatches : public QObject
{
    Q_OBJECT

public:
    explicit LayerPatches(qint64 budget, QObject *pParent = nullptr);
    ~LayerPatches() override;

    // After a push that laid objects over `below` inside `rect`: a worker
    // renders `below` there, for the undo of that push.
    void renderBelow(const MainPage *page, const QList<Obj *> &below, const QRect &rect);
    // An undo or redo changes `layer` inside `rect`: copies in the patch for
    // the page's revision and `rect`, if there is one. With `keepBack`, the
    // pixels it had there are kept first for the step back, which finds the
    // page one revision on.
    bool step(const MainPage *page, const QRect &rect, QImage *layer, bool keepBack);
    void clear();
    bool isRendering() const { return !copiesOf.isEmpty(); }
    // Patches copy device pixels: whole ones only.
    static bool fits(const MainPage *page);

private:
    struct Key
    {
        int pageId = 0;
        quint64 revision = 0;
        QRect rect;
        bool operator==(const Key &other) const
        {
            return pageId == other.pageId && revision == other.revision && rect == other.rect;
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
