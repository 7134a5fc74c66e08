#include "layerpatches.h"

#include "document/mainpage.h"
#include "document/obj.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

QRect devicePixels(const QRect &rect, qreal ratio)
{
    const int r = int(ratio);
    return QRect(rect.x() * r, rect.y() * r, rect.width() * r, rect.height() * r);
}

// What MainPage::renderLayer leaves inside `rect`, drawn into an image of
// that rectangle alone: a shift by whole device pixels paints the same pixels.
QImage render(const QList<Obj *> &objects, const QRect &rect, qreal ratio)
{
    QImage patch(devicePixels(rect, ratio).size(), QImage::Format_ARGB32_Premultiplied);
    patch.setDevicePixelRatio(ratio);
    patch.fill(Qt::transparent);
    QPainter p(&patch);
    p.translate(-rect.topLeft());
    p.setClipRect(rect);
    p.save();
    for (Obj *obj : objects)
        obj->paint(&p);
    p.restore();
    return patch;
}

// The patch's pixels as they are: a painter would blend or scale them.
void copyRows(const QImage &patch, QImage *layer, const QRect &at)
{
    const size_t bytes = size_t(at.width()) * 4;
    for (int y = 0; y < at.height(); ++y)
        std::memcpy(layer->scanLine(at.y() + y) + size_t(at.x()) * 4, patch.constScanLine(y),
                    bytes);
}

} // namespace

LayerPatches::LayerPatches(qint64 nBudget, QObject *pParent)
    : QObject(pParent)
    , budget(nBudget)
{
    // One worker, as for the layers and pictures kept for page switches.
    pool.setMaxThreadCount(1);
}

LayerPatches::~LayerPatches()
{
    pool.clear();
    pool.waitForDone();
    for (const QList<Obj *> &copies : std::as_const(copiesOf))
        qDeleteAll(copies);
}

bool LayerPatches::fits(const MainPage *page)
{
    return page->pixelRatio >= 1 && page->pixelRatio == std::floor(page->pixelRatio)
        && devicePixels(QRect(QPoint(0, 0), page->size), page->pixelRatio).size()
        == page->pixelSize;
}

void LayerPatches::renderBelow(const MainPage *page, const QUndoCommand *pushed,
                               const QList<Obj *> &below, const QRect &rect)
{
    const QRect inside = rect & QRect(QPoint(0, 0), page->size);
    if (inside.isEmpty() || !fits(page))
        return;
    QList<Obj *> copies;
    for (const Obj *obj : below) {
        if (!obj->isFloating() && obj->paintRect().intersects(inside))
            copies.append(obj->clone());
    }
    const quint64 ticket = ++nextTicket;
    copiesOf.insert(ticket, copies);
    const Key key { page->id, pushed, true, rect };
    const qreal ratio = page->pixelRatio;
    pool.start([this, ticket, key, inside, copies, ratio] {
        QImage pixels = render(copies, inside, ratio);
        QMetaObject::invokeMethod(
            this,
            [this, ticket, key, pixels = std::move(pixels)]() mutable {
                arrive(ticket, key, std::move(pixels));
            },
            Qt::QueuedConnection);
    });
}

void LayerPatches::arrive(quint64 ticket, const Key &key, QImage pixels)
{
    qDeleteAll(copiesOf.take(ticket));
    if (ticket > clearedTicket)
        add(key, std::move(pixels));
}

bool LayerPatches::step(const MainPage *page, const QUndoCommand *command, bool undo,
                        const QRect &rect, QImage *layer, bool keepBack)
{
    const QRect inside = rect & QRect(QPoint(0, 0), page->size);
    if (inside.isEmpty() || !fits(page) || !layer || layer->size() != page->pixelSize)
        return false;
    const QRect pixels = devicePixels(inside, page->pixelRatio);
    const Key key { page->id, command, undo, rect };
    const auto it = std::find_if(patches.begin(), patches.end(),
                                 [&key](const Patch &p) { return p.key == key; });
    QImage patch;
    if (it != patches.end()) {
        patch = std::move(it->pixels);
        used -= patch.sizeInBytes();
        patches.erase(it);
    }
    if (keepBack)
        add({ page->id, command, !undo, rect }, layer->copy(pixels));
    if (patch.isNull())
        return false;
    copyRows(patch, layer, pixels);
    return true;
}

void LayerPatches::add(const Key &key, QImage pixels)
{
    if (pixels.sizeInBytes() > budget)
        return;
    used += pixels.sizeInBytes();
    patches.push_back({ key, std::move(pixels) });
    while (used > budget) {
        used -= patches.front().pixels.sizeInBytes();
        patches.pop_front();
    }
}

void LayerPatches::forget(const QList<const QUndoCommand *> &commands)
{
    for (auto it = patches.begin(); it != patches.end();) {
        if (commands.contains(it->key.command)) {
            used -= it->pixels.sizeInBytes();
            it = patches.erase(it);
        } else {
            ++it;
        }
    }
}

void LayerPatches::clear()
{
    patches.clear();
    used = 0;
    clearedTicket = nextTicket;
}
