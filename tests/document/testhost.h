#pragma once

#include "document/mainpage.h"
#include "document/pagehost.h"

#include <QImage>

// A canvas stand-in: keeps a real layer image of its page and records what
// the commands asked of it.
class TestHost : public PageHost
{
public:
    explicit TestHost(MainPage *current)
        : page(current)
        , layer(current->size, QImage::Format_ARGB32_Premultiplied)
    {
        layer.fill(Qt::transparent);
    }

    MainPage *currentPage() const override { return page; }
    void updateObjectCache(MainPage *target, const QRect &rect) override
    {
        cacheUpdates.append(rect);
        target->renderLayer(&layer, rect);
    }
    void repaint(const QRect &rect) override { repaints.append(rect); }
    QList<Obj *> selection() const override { return selected; }
    void addToSelection(Obj *obj) override
    {
        if (!selected.contains(obj))
            selected.append(obj);
    }
    void removeFromSelection(Obj *obj) override { selected.removeAll(obj); }

    // What a tool does after pushing: its own painting already shows the
    // change, so bring the whole layer up to date.
    void rebuild() { page->renderLayer(&layer, QRect()); }

    MainPage *page;
    QImage layer;
    QList<Obj *> selected;
    QList<QRect> cacheUpdates;
    QList<QRect> repaints;
};
