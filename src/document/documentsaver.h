#pragma once

#include "documentsnapshot.h"
#include "documentwriter.h"

#include <QHash>
#include <QObject>
#include <QThreadPool>

#include <deque>
#include <functional>
#include <vector>

class Document;

// Writes the document on a worker thread, one file at a time, so that the
// GUI goes on while a long document is written. A save asked while another
// runs waits for it and then copies the pages as they are by then. The writer
// is kept from one save to the next, so that pages unchanged since cost a
// copy of their bytes. Only what was written is marked saved: a page changed
// during the write stays modified.
class DocumentSaver : public QObject
{
    Q_OBJECT
public:
    // Whether the file was written and, when not, why (in English, for the
    // message lookup).
    using Done = std::function<void(bool bWritten, const QString &strError)>;

    explicit DocumentSaver(Document *pDocument, QObject *pParent = nullptr);
    // Waits for the write under way: the file is never left half done.
    ~DocumentSaver() override;

    void save(const QString &strTarget, Done done);
    // A save runs or waits.
    bool isBusy() const { return !waiting.empty(); }
    // While held (pages still coming in), saves wait.
    void setHeld(bool bHeld);

private:
    struct Request
    {
        QString target;
        std::vector<Done> done;
    };

    void startNext();
    void finished(bool written, const QString &error, const QHash<int, quint64> &revisions);
    void markSaved(const QHash<int, quint64> &revisions);

    Document *document;
    DocumentSnapshot::Cache records;
    DocumentWriter writer;
    QThreadPool worker;
    // The running request first.
    std::deque<Request> waiting;
    bool running = false;
    bool held = false;
};
