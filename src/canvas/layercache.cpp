#include "layercache.h"

#include "document/mainpage.h"
#include "document/obj.h"

#include <QPainter>

#include <algorithm>

namespace {

// As MainPage::renderLayer paints a whole layer, from objects that only this
// thread sees.
QImage render(const QList<Obj *> &objects, const QSize &pixels, qreal ratio)
{
    QImage layer(pixels, QImage::Format_ARGB32_Premultiplied);
    layer.setDevicePixelRatio(ratio);
    layer.fill(Qt::transparent);
    QPainter p(&layer);
    p.save();
    for (Obj *obj : objects)
        obj->paint(&p);
    p.restore();
    return layer;
}

} // namespace

LayerCache::LayerCache(int nCapacity, QObject *pParent)
    : QObject(pParent)
    , capacity(nCapacity)
{
    // One worker: two renders at once would take both cores from the pen on
    // a small machine.
    pool.setMaxThreadCount(1);
}

// Renders still queued are dropped, and results still on their way.
LayerCache::~LayerCache()
{
    pool.clear();
    pool.waitForDone();
    for (const QList<Obj *> &copies : std::as_const(copiesOf))
        qDeleteAll(copies);
}

bool LayerCache::Key::operator==(const Key &other) const
{
    return pageId == other.pageId && revision == other.revision && pixels == other.pixels
        && qFuzzyCompare(ratio, other.ratio);
}

LayerCache::Key LayerCache::keyOf(const MainPage *page)
{
    return { page->id, page->revision, page->pixelSize, page->pixelRatio };
}

bool LayerCache::hasLayerObjects(const MainPage *page)
{
    return std::any_of(page->objects.cbegin(), page->objects.cend(),
                       [](const Obj *obj) { return !obj->isFloating(); });
}

bool LayerCache::holds(const Key &key) const
{
    return std::any_of(entries.cbegin(), entries.cend(),
                       [&key](const Entry &e) { return e.key == key; });
}

std::unique_ptr<QImage> LayerCache::take(const MainPage *page)
{
    const Key key = keyOf(page);
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [&key](const Entry &e) { return e.key == key; });
    if (it == entries.end())
        return nullptr;
    std::unique_ptr<QImage> layer = std::move(it->layer);
    entries.erase(it);
    return layer;
}

std::unique_ptr<QImage> LayerCache::keep(const MainPage *page, std::unique_ptr<QImage> layer)
{
    if (!layer || capacity <= 0)
        return layer;
    forget(page->id);
    entries.push_back({ keyOf(page), std::move(layer) });
    std::unique_ptr<QImage> evicted;
    while (int(entries.size()) > capacity) {
        evicted = std::move(entries.front().layer);
        entries.pop_front();
    }
    return evicted;
}

void LayerCache::renderAhead(const QList<const MainPage *> &pages)
{
    for (const MainPage *page : pages) {
        const Key key = keyOf(page);
        const auto under = pending.constFind(key.pageId);
        if (holds(key) || (under != pending.cend() && under->key == key) || !hasLayerObjects(page))
            continue;
        QList<Obj *> copies;
        for (const Obj *obj : page->objects) {
            if (!obj->isFloating())
                copies.append(obj->clone());
        }
        const quint64 ticket = ++nextTicket;
        pending.insert(key.pageId, { ticket, key });
        copiesOf.insert(ticket, copies);
        pool.start([this, key, ticket, copies] {
            QImage layer = render(copies, key.pixels, key.ratio);
            QMetaObject::invokeMethod(
                this,
                [this, key, ticket, layer = std::move(layer)]() mutable {
                    arrive(key, ticket, std::move(layer));
                },
                Qt::QueuedConnection);
        });
    }
}

void LayerCache::arrive(const Key &key, quint64 ticket, QImage layer)
{
    qDeleteAll(copiesOf.take(ticket));
    const auto under = pending.constFind(key.pageId);
    if (under == pending.cend() || under->ticket != ticket)
        return;
    pending.remove(key.pageId);
    entries.push_back({ key, std::make_unique<QImage>(std::move(layer)) });
    while (int(entries.size()) > capacity)
        entries.pop_front();
    emit rendered(key.pageId);
}

void LayerCache::forget(int pageId)
{
    pending.remove(pageId);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [pageId](const Entry &e) { return e.key.pageId == pageId; }),
                  entries.end());
}

void LayerCache::clear()
{
    pending.clear();
    entries.clear();
}
