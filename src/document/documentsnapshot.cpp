#include "documentsnapshot.h"

#include "backgroundfiles.h"
#include "mainpage.h"
#include "obj.h"

namespace {

QList<ObjectRecord> recordsOf(const MainPage *page)
{
    QList<ObjectRecord> records;
    records.reserve(page->objects.size());
    for (const Obj *obj : page->objects)
        records.append(ObjectRecord::of(obj));
    return records;
}

QList<ObjectRecord> cachedRecordsOf(const MainPage *page, DocumentSnapshot::Cache *cache)
{
    if (!cache)
        return recordsOf(page);
    DocumentSnapshot::Cache::Entry &entry = cache->pages[page->id];
    if (entry.revision != page->revision) {
        entry.objects = recordsOf(page);
        entry.revision = page->revision;
    }
    return entry.objects;
}

} // namespace

DocumentSnapshot DocumentSnapshot::take(const QList<MainPage *> &pages, int nextNumber,
                                        Cache *cache)
{
    // The snapshot names the pages' picture files: they must be complete.
    BackgroundFiles::instance().finish();
    DocumentSnapshot snapshot;
    snapshot.nextNumber = nextNumber;
    snapshot.pages.reserve(pages.size());
    QHash<int, Cache::Entry> kept;
    for (const MainPage *page : pages) {
        PageRecord record;
        record.id = page->id;
        record.revision = page->revision;
        record.size = page->size;
        record.pixelSize = page->pixelSize;
        record.pixelRatio = page->pixelRatio;
        record.background = page->background;
        record.colour = page->colour;
        record.pdf = page->pdf;
        record.pdfPage = page->pdfPage;
        if (page->background == MainPage::PictureBackground)
            record.pictureFile = MainPage::backgroundFile(page->id);
        record.objects = cachedRecordsOf(page, cache);
        if (cache)
            kept.insert(page->id, cache->pages.value(page->id));
        snapshot.pages.append(record);
    }
    // Pages that are gone leave the cache with their records.
    if (cache)
        cache->pages = kept;
    return snapshot;
}
