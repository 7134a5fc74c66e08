#include "backgroundfiles.h"

#include "app/filewriter.h"
#include "mainpage.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QMutexLocker>

BackgroundFiles &BackgroundFiles::instance()
{
    static BackgroundFiles files;
    return files;
}

// One worker keeps the writes of a page in the order they were asked for.
BackgroundFiles::BackgroundFiles()
{
    pool.setMaxThreadCount(1);
}

BackgroundFiles::~BackgroundFiles()
{
    pool.waitForDone();
}

void BackgroundFiles::write(int pageId, const QImage &picture)
{
    if (picture.isNull())
        return;
    quint64 ticket = 0;
    {
        QMutexLocker lock(&mutex);
        ticket = ++nextTicket;
        tickets.insert(pageId, ticket);
        held.insert(pageId, picture);
    }
    pool.start([this, pageId, ticket, picture] { store(pageId, ticket, picture); });
}

// PNG at its fastest level: the file is read back soon, and the pictures are
// screen grabs that the fastest level already packs well.
void BackgroundFiles::store(int pageId, quint64 ticket, const QImage &picture)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    writer.setQuality(80);
    const QString file = MainPage::backgroundFile(pageId);
    const bool written = writer.write(picture)
        && FileWriter::write(file, buffer.data(), QFile::ReadOwner | QFile::WriteOwner);
    QMutexLocker lock(&mutex);
    if (tickets.value(pageId) != ticket) {
        // Forgotten, or written again since: only a forgotten page's file goes.
        if (!tickets.contains(pageId))
            QFile::remove(file);
        return;
    }
    tickets.remove(pageId);
    if (written) {
        held.remove(pageId);
        return;
    }
    QMetaObject::invokeMethod(
        this, [this, pageId] { emit writeFailed(pageId); }, Qt::QueuedConnection);
}

QImage BackgroundFiles::unwritten(int pageId) const
{
    QMutexLocker lock(&mutex);
    return held.value(pageId);
}

void BackgroundFiles::finish()
{
    pool.waitForDone();
}

void BackgroundFiles::forget(int pageId)
{
    QMutexLocker lock(&mutex);
    tickets.remove(pageId);
    held.remove(pageId);
}
