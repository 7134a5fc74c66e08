#pragma once

#include "document/documentreader.h"
#include "document/pagebuilder.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

class MainView;
class QThread;

// Reads a document on a worker and adds its pages as they come: the worker
// does the archive, the manifest, the copies and checks of its files and the
// decoding of records and pictures; the GUI thread only makes the pages of
// their parts, a slice at a time, and shows the first page as soon as it is
// in, its picture decoded by the worker too. The pages follow the current
// page; the first of them becomes current. Clearing the document, or
// deleting the load, stops it: no page arrives afterwards.
class DocumentLoad : public QObject
{
    Q_OBJECT
public:
    DocumentLoad(MainView *pView, const QString &strPath, QObject *pParent = nullptr);
    ~DocumentLoad() override;

    void start();
    // Pages the document lists that are not in yet.
    int waiting() const;
    // The number its first page received, 0 before it is in.
    int firstPageNumber() const { return firstNumber; }
    int nextNumber() const;
    bool wasStopped() const { return stopped; }
    // English texts for the message lookup, as DocumentReader's.
    QString error() const;
    QStringList notes() const;

Q_SIGNALS:
    // The first page is in and current.
    void signal_FirstPage();
    void signal_Waiting(int pages);
    // Every page is in, or nothing could open (`opened` false), or the load
    // was stopped.
    void signal_Finished(bool opened);

private:
    void readAll();
    void post();
    void takeParts();
    void resumeReading();
    bool takeOne(PageParts *parts);
    void add(const QList<MainPage *> &pages);
    int insertIndex() const;
    void stop();
    void finish();

    MainView *view;
    QString path;
    QThread *worker = nullptr;
    DocumentReader reader;
    PageBuilder builder;

    mutable std::mutex lock; // guards what follows, up to `posted`
    std::deque<PageParts> arrived;
    int listed = -1; // -1 until the manifest is read
    bool readingDone = false;
    // The worker waits with the second page until the first is shown: the
    // two cores of a small machine are the user's meanwhile.
    bool resumed = false;
    std::condition_variable resume;
    std::atomic<bool> posted { false };
    std::atomic<bool> stopping { false };

    int taken = 0;
    int firstNumber = 0;
    int lastAddedId = 0;
    bool stopped = false;
    bool finished = false;
};
