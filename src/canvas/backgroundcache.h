#pragma once

#include <QHash>
#include <QObject>
#include <QPixmap>
#include <QSet>
#include <QThreadPool>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class PdfSource;

// Decoded page pictures kept ready for page switches: the page just left and
// the current page's neighbours, which a worker decodes from their files (or
// renders from their PDF page) in the background. At most `capacity`
// pictures are kept; the oldest goes first.
class BackgroundCache : public QObject
{
    Q_OBJECT

public:
    explicit BackgroundCache(int capacity = 3, QObject *pParent = nullptr);
    ~BackgroundCache() override;

    // The page's picture if it is ready, else a null pixmap.
    QPixmap find(int pageId) const;
    // Keeps the picture; the pixels of a picture that no longer fits go to
    // pEvicted, if given, for a decode to reuse: fresh memory costs more to
    // fill than the decode itself.
    void keep(int pageId, const QPixmap &picture, QImage *pEvicted = nullptr);
    // Decodes the pages' files (page id to device pixel ratio) that are not
    // kept yet.
    void decodeAhead(const QHash<int, qreal> &pageRatios);
    // Renders page `pdfPage` of `pdf` into `pixels` for the page, unless kept.
    void renderAhead(int pageId, const std::shared_ptr<PdfSource> &pdf, int pdfPage,
                     const QSize &pixels, qreal ratio);
    // The page's file changed or went away: its picture must not be used.
    void forget(int pageId);
    void clear();
    // Gives up the decodes and renders of pages not in `wanted`: paging
    // fast must not leave a queue of pages long left before the one shown.
    void dropPendingExcept(const QSet<int> &wanted);
    bool isDecoding() const { return !pending.isEmpty(); }

signals:
    void decoded(int pageId);

private:
    void start(int pageId, qreal ratio, std::function<QImage()> work);
    void arrive(int pageId, quint64 ticket, QImage image, qreal ratio);

    struct Entry
    {
        int pageId;
        QPixmap picture;
    };
    int capacity;
    std::deque<Entry> entries;
    // The decode each page waits for; a forgotten page's late result is
    // recognised by its outdated ticket, and one not started yet is skipped.
    struct Job
    {
        quint64 ticket = 0;
        std::shared_ptr<std::atomic<bool>> dropped;
    };
    void drop(int pageId);
    QHash<int, Job> pending;
    quint64 nextTicket = 0;
    QThreadPool pool;
};
