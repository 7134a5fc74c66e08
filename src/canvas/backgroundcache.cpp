#include "backgroundcache.h"

#include "document/backgroundfiles.h"
#include "document/mainpage.h"
#include "document/pdfsource.h"

#include <QImage>

#include <algorithm>

BackgroundCache::BackgroundCache(int nCapacity, QObject *pParent)
    : QObject(pParent)
    , capacity(nCapacity)
{
    // One worker: decoding two pages at once would take both cores from the
    // pen on a small machine.
    pool.setMaxThreadCount(1);
}

// Results still queued for this object are dropped with it.
BackgroundCache::~BackgroundCache()
{
    pool.clear();
    pool.waitForDone();
}

QPixmap BackgroundCache::find(int pageId) const
{
    const auto it = std::find_if(entries.cbegin(), entries.cend(),
                                 [pageId](const Entry &e) { return e.pageId == pageId; });
    return it == entries.cend() ? QPixmap() : it->picture;
}

void BackgroundCache::keep(int pageId, const QPixmap &picture, QImage *pEvicted)
{
    if (picture.isNull() || capacity <= 0)
        return;
    forget(pageId);
    entries.push_back({ pageId, picture });
    while (int(entries.size()) > capacity) {
        if (pEvicted)
            *pEvicted = entries.front().picture.toImage();
        entries.pop_front();
    }
}

void BackgroundCache::decodeAhead(const QHash<int, qreal> &pageRatios)
{
    for (auto it = pageRatios.cbegin(); it != pageRatios.cend(); ++it) {
        const int pageId = it.key();
        const qreal ratio = it.value();
        if (pending.contains(pageId) || !find(pageId).isNull())
            continue;
        if (const QImage unwritten = BackgroundFiles::instance().unwritten(pageId);
            !unwritten.isNull()) {
            QPixmap picture = QPixmap::fromImage(unwritten);
            picture.setDevicePixelRatio(ratio);
            keep(pageId, picture);
            continue;
        }
        const QString file = MainPage::backgroundFile(pageId);
        start(pageId, ratio, [file] { return QImage(file, "PNG"); });
    }
}

void BackgroundCache::renderAhead(int pageId, const std::shared_ptr<PdfSource> &pdf, int pdfPage,
                                  const QSize &pixels, qreal ratio)
{
    if (pdf && !pending.contains(pageId) && find(pageId).isNull())
        start(pageId, ratio, [pdf, pdfPage, pixels] { return pdf->render(pdfPage, pixels); });
}

void BackgroundCache::start(int pageId, qreal ratio, std::function<QImage()> work)
{
    const quint64 ticket = ++nextTicket;
    auto dropped = std::make_shared<std::atomic<bool>>(false);
    pending.insert(pageId, { ticket, dropped });
    pool.start([this, pageId, ticket, ratio, dropped, work = std::move(work)] {
        QImage image = *dropped ? QImage() : work();
        QMetaObject::invokeMethod(
            this,
            [this, pageId, ticket, image = std::move(image), ratio]() mutable {
                arrive(pageId, ticket, std::move(image), ratio);
            },
            Qt::QueuedConnection);
    });
}

void BackgroundCache::arrive(int pageId, quint64 ticket, QImage image, qreal ratio)
{
    if (pending.value(pageId).ticket != ticket)
        return;
    pending.remove(pageId);
    if (image.isNull())
        return;
    QPixmap picture = QPixmap::fromImage(std::move(image));
    picture.setDevicePixelRatio(ratio);
    keep(pageId, picture);
    emit decoded(pageId);
}

void BackgroundCache::drop(int pageId)
{
    if (const auto it = pending.constFind(pageId); it != pending.cend())
        *it->dropped = true;
    pending.remove(pageId);
}

void BackgroundCache::dropPendingExcept(const QSet<int> &wanted)
{
    const QList<int> ids = pending.keys();
    for (int pageId : ids)
        if (!wanted.contains(pageId))
            drop(pageId);
}

void BackgroundCache::forget(int pageId)
{
    drop(pageId);
    entries.erase(std::remove_if(entries.begin(), entries.end(),
                                 [pageId](const Entry &e) { return e.pageId == pageId; }),
                  entries.end());
}

void BackgroundCache::clear()
{
    dropPendingExcept({});
    entries.clear();
}
