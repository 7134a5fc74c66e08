#include "pagebackground.h"

#include "document/backgroundfiles.h"
#include "document/mainpage.h"
#include "document/pdfsource.h"

#include <QFile>
#include <QImageReader>

#include <utility>

bool PageBackground::showsPicture(const MainPage *page)
{
    return page
        && (page->background == MainPage::PictureBackground
            || page->background == MainPage::PdfBackground);
}

void PageBackground::set(MainPage *page, const QPixmap &picture)
{
    cache.forget(page->id);
    shown = picture;
    page->background = MainPage::PictureBackground;
    page->pdf.reset();
    page->pdfPage = -1;
    writeFile(page->id);
}

// The picture is kept in a file of the private temporary folder, readable by
// its owner only.
void PageBackground::writeFile(int pageId) const
{
    BackgroundFiles::instance().write(pageId, shown.toImage());
}

void PageBackground::show(const MainPage *page, int leftId, const QPixmap &left)
{
    shown = QPixmap();
    waitingFor = 0;
    if (page && page->background == MainPage::PdfBackground)
        showPdf(page, leftId, left);
    else
        showPicture(page, leftId, left);
    if (!shown.isNull())
        shown.setDevicePixelRatio(page->pixelRatio);
}

// The page's picture: kept decoded, still in memory while its file is
// written, or else decoded from its file into the pixels of the picture that
// the page left behind pushes out of the cache (fresh memory costs more to
// fill than the decode itself).
void PageBackground::showPicture(const MainPage *page, int leftId, const QPixmap &left)
{
    const bool picture = page && page->background == MainPage::PictureBackground;
    if (picture)
        shown = cache.find(page->id);
    if (picture && shown.isNull())
        shown = QPixmap::fromImage(BackgroundFiles::instance().unwritten(page->id));
    const QString file = picture ? MainPage::backgroundFile(page->id) : QString();
    const bool decodes = picture && shown.isNull() && QFile::exists(file);
    QImage evicted;
    cache.keep(leftId, left, decodes ? &evicted : nullptr);
    if (decodes && QImageReader(file, "PNG").read(&evicted))
        shown = QPixmap::fromImage(std::move(evicted));
}

// A PDF page not rendered ahead is rendered by the worker while the page
// shows white paper: a page of a hostile PDF that renders for ever must not
// freeze the window.
void PageBackground::showPdf(const MainPage *page, int leftId, const QPixmap &left)
{
    shown = cache.find(page->id);
    cache.keep(leftId, left);
    if (!shown.isNull() || !page->pdf)
        return;
    waitingFor = page->id;
    waitingRatio = page->pixelRatio;
    cache.renderAhead(page->id, page->pdf, page->pdfPage, page->pixelSize, page->pixelRatio);
}

bool PageBackground::arrive(int pageId)
{
    if (pageId == 0 || pageId != waitingFor)
        return false;
    shown = cache.find(pageId);
    shown.setDevicePixelRatio(waitingRatio);
    waitingFor = 0;
    return true;
}

// The page left behind stays decoded, and its neighbours are decoded while
// the user looks at this one.
void PageBackground::decodeNeighbours(const QList<MainPage *> &pages, int number)
{
    QHash<int, qreal> ahead;
    QSet<int> wanted;
    for (int index : { number - 1, number, number - 2 })
        if (index >= 0 && index < pages.size())
            wanted.insert(pages.at(index)->id);
    cache.dropPendingExcept(wanted);
    for (int index : { number, number - 2 }) {
        const MainPage *neighbour = index >= 0 && index < pages.size() ? pages.at(index) : nullptr;
        if (neighbour && neighbour->background == MainPage::PictureBackground)
            ahead.insert(neighbour->id, neighbour->pixelRatio);
        if (neighbour && neighbour->background == MainPage::PdfBackground)
            cache.renderAhead(neighbour->id, neighbour->pdf, neighbour->pdfPage,
                              neighbour->pixelSize, neighbour->pixelRatio);
    }
    cache.decodeAhead(ahead);
}

void PageBackground::clear()
{
    shown = QPixmap();
    waitingFor = 0;
    cache.clear();
}

// A smooth scale of a whole screen costs far more than a repaint may.
const QPixmap &PageBackground::fitted(const QSize &device, qreal ratio) const
{
    if (shown.isNull()) {
        scaled = QPixmap();
    } else if (scaledFrom != shown.cacheKey() || scaled.size() != device
               || scaled.devicePixelRatio() != ratio) {
        scaled = shown.scaled(device, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(ratio);
        scaledFrom = shown.cacheKey();
    }
    return scaled;
}
