#include "exportrun.h"

ExportRun::ExportRun(QList<PageRecord> pages, Work exportWork, QObject *pParent)
    : QObject(pParent)
    , exporter(std::move(pages))
    , work(std::move(exportWork))
{
    worker.setMaxThreadCount(1);
}

ExportRun::~ExportRun()
{
    exporter.cancel();
    worker.waitForDone();
}

// The worker outlives none of its messages: they are queued to this object,
// which waits for the worker before it goes, taking any still queued along.
void ExportRun::start()
{
    exporter.progress = [this](int index) {
        QMetaObject::invokeMethod(
            this, [this, index] { Q_EMIT signal_Progress(index); }, Qt::QueuedConnection);
    };
    worker.start([this] {
        const bool written = work(exporter);
        QMetaObject::invokeMethod(
            this, [this, written] { Q_EMIT signal_Finished(written); }, Qt::QueuedConnection);
    });
}
