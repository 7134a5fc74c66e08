#pragma once

#include "pageexporter.h"

#include <QObject>
#include <QThreadPool>

#include <functional>

// One export run on a worker thread over pages copied out on the GUI thread,
// so that the document may go on changing and the event loop goes on
// running. Progress and the end come back as signals on the GUI thread.
class ExportRun : public QObject
{
    Q_OBJECT
public:
    // `work` runs on the worker with the exporter and returns whether the
    // file was written.
    using Work = std::function<bool(PageExporter &)>;

    ExportRun(QList<PageRecord> pages, Work work, QObject *pParent = nullptr);
    // Cancels a running export and waits for the worker: the old file stays.
    ~ExportRun() override;

    void start();
    // The export ends without writing, unless its file is already in place.
    void cancel() { exporter.cancel(); }

    int pageCount() const { return exporter.pageCount(); }
    // Valid once finished.
    bool wasCancelled() const { return exporter.wasCancelled(); }
    QString errorString() const { return exporter.errorString(); }

Q_SIGNALS:
    // The number of pages done so far.
    void signal_Progress(int iDone);
    void signal_Finished(bool bWritten);

private:
    PageExporter exporter;
    Work work;
    QThreadPool worker;
};
