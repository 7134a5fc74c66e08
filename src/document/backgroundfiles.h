#pragma once

#include <QHash>
#include <QImage>
#include <QMutex>
#include <QObject>
#include <QThreadPool>

// Writes the pages' pictures into their files of the private temporary
// folder off the GUI thread, so that a captured page shows at once. Until its
// file is complete a picture stays here, and one that could not be written
// stays for good: the page is never lost.
class BackgroundFiles : public QObject
{
    Q_OBJECT

public:
    static BackgroundFiles &instance();

    void write(int pageId, const QImage &picture);
    // The picture of a page whose file is not complete (still being written,
    // or refused by the disk); null when the file holds it.
    QImage unwritten(int pageId) const;
    // Waits for every write queued so far.
    void finish();
    // The page is gone: a write still under way leaves no file behind.
    void forget(int pageId);

signals:
    // Told on the GUI thread; the picture stays in memory.
    void writeFailed(int pageId);

private:
    BackgroundFiles();
    ~BackgroundFiles() override;
    void store(int pageId, quint64 ticket, const QImage &picture);

    QThreadPool pool;
    mutable QMutex mutex;
    QHash<int, QImage> held;
    QHash<int, quint64> tickets;
    quint64 nextTicket = 0;
};
