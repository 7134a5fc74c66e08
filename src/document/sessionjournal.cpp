#include "sessionjournal.h"

#include "app/appstate.h"

SessionJournal::SessionJournal(const QString &strFolder, std::function<QList<MainPage *>()> pages,
                               QObject *pParent)
    : QObject(pParent)
    , writer(strFolder)
    , pageList(std::move(pages))
{
    timer.setSingleShot(true);
    timer.setInterval(DelayMs);
    connect(&timer, &QTimer::timeout, this, &SessionJournal::writeNow);
    worker.setMaxThreadCount(1);
}

SessionJournal::~SessionJournal()
{
    worker.waitForDone();
}

void SessionJournal::touch()
{
    if (!stopped && !timer.isActive())
        timer.start();
}

void SessionJournal::setDocumentPath(const QString &strPath)
{
    if (strPath == documentPath)
        return;
    documentPath = strPath;
    touch();
}

void SessionJournal::writeNow()
{
    timer.stop();
    if (!stopped)
        submit(snapshot());
}

bool SessionJournal::writeAndWait()
{
    timer.stop();
    pending.reset();
    worker.waitForDone();
    if (stopped)
        return true;
    return store(snapshot());
}

void SessionJournal::remove()
{
    stopped = true;
    timer.stop();
    pending.reset();
    worker.waitForDone();
    writer.remove();
}

DocumentSnapshot SessionJournal::snapshot()
{
    DocumentSnapshot snap
        = DocumentSnapshot::take(pageList(), AppState::instance().nextNumber, &cache);
    snap.documentPath = documentPath;
    return snap;
}

// One write at a time; a snapshot taken meanwhile replaces any that waits.
void SessionJournal::submit(DocumentSnapshot snap)
{
    if (busy) {
        pending = std::move(snap);
        return;
    }
    busy = true;
    worker.start([this, snap = std::move(snap)] {
        const bool ok = store(snap);
        QMetaObject::invokeMethod(
            this, [this, ok] { finished(ok); }, Qt::QueuedConnection);
    });
}

void SessionJournal::finished(bool ok)
{
    busy = false;
    if (ok) {
        failing = false;
        Q_EMIT signal_Written();
    } else if (!failing) {
        failing = true;
        Q_EMIT signal_WriteFailed();
    }
    if (pending && !stopped) {
        DocumentSnapshot next = std::move(*pending);
        pending.reset();
        submit(std::move(next));
    }
}

bool SessionJournal::store(const DocumentSnapshot &snap)
{
    return writer.write(snap);
}
