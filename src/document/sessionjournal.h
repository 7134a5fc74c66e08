#pragma once

#include "documentsnapshot.h"
#include "sessionwriter.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <optional>

class MainPage;

// Keeps the pages in a session, so that a crash, a kill or a power cut
// loses at most the last seconds of work. A change asks for a write within
// DelayMs; the snapshot is copied on the GUI thread (cheap: only changed
// pages are copied again) and written by one worker thread, so the pen never
// waits for the disk. The session is a folder (see SessionWriter): a write
// costs what changed since the last, and the folder always holds the last
// complete session. It names the pictures of the temporary folder rather
// than holding them.
class SessionJournal : public QObject
{
    Q_OBJECT
public:
    static constexpr int DelayMs = 2000;

    SessionJournal(const QString &strFolder, std::function<QList<MainPage *>()> pages,
                   QObject *pParent = nullptr);
    ~SessionJournal() override;

    QString path() const { return writer.folder(); }
    // Something changed: a write follows within DelayMs, however long the
    // changes go on.
    void touch();
    // Where the user saved the pages as a document; empty when nowhere.
    void setDocumentPath(const QString &strPath);
    // Writes now, e.g. when drawing mode ends.
    void writeNow();
    // Writes now and returns once the session is written (for a polite end of
    // the process); false when it could not be.
    bool writeAndWait();
    // A normal end: no more writes, and the session goes.
    void remove();

Q_SIGNALS:
    // The session could not be written; given once until a write succeeds
    // again.
    void signal_WriteFailed();
    void signal_Written();

private:
    DocumentSnapshot snapshot();
    void submit(DocumentSnapshot snap);
    void finished(bool ok);
    bool store(const DocumentSnapshot &snap);

    // Used by one thread at a time: the worker, or the caller once the
    // worker is done.
    SessionWriter writer;
    std::function<QList<MainPage *>()> pageList;
    DocumentSnapshot::Cache cache;
    QTimer timer;
    QThreadPool worker;
    bool busy = false;
    bool failing = false;
    bool stopped = false;
    std::optional<DocumentSnapshot> pending;
    QString documentPath;
};
