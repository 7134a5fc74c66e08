#pragma once

#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QSize>
#include <QThreadPool>

#include <deque>
#include <memory>

class MainPage;
class Obj;

// Rendered layers kept ready for page switches: the page just left and the
// current page's neighbours, which a worker renders from copies of their
// objects. A layer is handed out only while its page still has the revision,
// pixels and ratio it was rendered at, so it is exactly what a fresh render
// gives. At most `capacity` layers are kept; the oldest goes first.
class LayerCache : public QObject
{
    Q_OBJECT

public:
    explicit LayerCache(int capacity = 3, QObject *pParent = nullptr);
    ~LayerCache() override;

    // The page's layer, taken out of the cache; null unless it is current.
    std::unique_ptr<QImage> take(const MainPage *page);
    // Keeps `layer`, rendered wholly from `page` as it is now; returns the
    // layer that no longer fits, if any, for its memory to be reused.
    std::unique_ptr<QImage> keep(const MainPage *page, std::unique_ptr<QImage> layer);
    // Renders the layers of the pages that have layer objects and no
    // current layer kept or under way.
    void renderAhead(const QList<const MainPage *> &pages);
    void forget(int pageId);
    void clear();
    bool isRendering() const { return !pending.isEmpty(); }

    // Whether a layer of `page` is needed at all: floating objects are
    // painted over it, not into it.
    static bool hasLayerObjects(const MainPage *page);

signals:
    void rendered(int pageId);

private:
    struct Key
    {
        int pageId = 0;
        quint64 revision = 0;
        QSize pixels;
        qreal ratio = 1;
        bool operator==(const Key &other) const;
    };
    struct Entry
    {
        Key key;
        std::unique_ptr<QImage> layer;
    };
    static Key keyOf(const MainPage *page);
    bool holds(const Key &key) const;
    void arrive(const Key &key, quint64 ticket, QImage layer);

    int capacity;
    std::deque<Entry> entries;
    struct Render
    {
        quint64 ticket;
        Key key;
    };
    // The render each page waits for; a late result of a page that changed
    // or went since is recognised by its outdated ticket.
    QHash<int, Render> pending;
    // The copies of the objects each render paints, deleted on this thread
    // once it is done.
    QHash<quint64, QList<Obj *>> copiesOf;
    quint64 nextTicket = 0;
    QThreadPool pool;
};
