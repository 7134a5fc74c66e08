#include "documentsaver.h"

#include "app/appstate.h"
#include "document.h"
#include "mainpage.h"

DocumentSaver::DocumentSaver(Document *pDocument, QObject *pParent)
    : QObject(pParent)
    , document(pDocument)
{
    worker.setMaxThreadCount(1);
}

DocumentSaver::~DocumentSaver()
{
    worker.waitForDone();
}

// Saves to the same file asked one after another while one runs are one
// write of the newest pages.
void DocumentSaver::save(const QString &strTarget, Done done)
{
    const bool joins = waiting.size() > (running ? 1u : 0u) && waiting.back().target == strTarget;
    if (joins)
        waiting.back().done.push_back(std::move(done));
    else
        waiting.push_back({ strTarget, { std::move(done) } });
    startNext();
}

void DocumentSaver::setHeld(bool bHeld)
{
    held = bHeld;
    startNext();
}

// The pages are copied out here, on the GUI thread; only their changes since
// the last copy cost anything.
void DocumentSaver::startNext()
{
    if (running || held || waiting.empty())
        return;
    running = true;
    DocumentSnapshot snapshot
        = DocumentSnapshot::take(document->pageList(), AppState::instance().nextNumber, &records);
    QHash<int, quint64> revisions;
    for (const PageRecord &page : std::as_const(snapshot.pages))
        revisions.insert(page.id, page.revision);
    worker.start(
        [this, snapshot = std::move(snapshot), target = waiting.front().target, revisions] {
            const bool written = writer.write(snapshot, target, DocumentWriter::Embedded);
            const QString error = writer.errorString();
            QMetaObject::invokeMethod(
                this, [=] { finished(written, error, revisions); }, Qt::QueuedConnection);
        });
}

void DocumentSaver::finished(bool written, const QString &error,
                             const QHash<int, quint64> &revisions)
{
    const Request request = std::move(waiting.front());
    waiting.pop_front();
    running = false;
    if (written)
        markSaved(revisions);
    for (const Done &done : request.done)
        done(written, error);
    startNext();
}

void DocumentSaver::markSaved(const QHash<int, quint64> &revisions)
{
    for (MainPage *page : document->pageList()) {
        const auto written = revisions.constFind(page->id);
        if (written != revisions.cend() && *written == page->revision)
            page->modified = false;
    }
}
