#include "documentload.h"

#include "canvas/mainview.h"
#include "document/document.h"
#include "document/mainpage.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImageReader>
#include <QThread>

namespace {

// The GUI thread makes pages for this long before it lets events through.
constexpr int SliceMs = 8;

} // namespace

DocumentLoad::DocumentLoad(MainView *pView, const QString &strPath, QObject *pParent)
    : QObject(pParent)
    , view(pView)
    , path(strPath)
{
    // An emptied document takes no late pages.
    connect(&view->document(), &Document::currentPageChanged, this, [this](MainPage *page) {
        if (!page && !finished && !stopped) {
            stopped = true;
            stop();
            QMetaObject::invokeMethod(this, &DocumentLoad::finish, Qt::QueuedConnection);
        }
    });
}

DocumentLoad::~DocumentLoad()
{
    stop();
}

void DocumentLoad::start()
{
    worker = QThread::create([this] { readAll(); });
    worker->start();
}

int DocumentLoad::waiting() const
{
    std::lock_guard<std::mutex> guard(lock);
    return listed < 0 ? 0 : listed - taken;
}

int DocumentLoad::nextNumber() const
{
    return reader.nextNumber();
}

QString DocumentLoad::error() const
{
    return reader.error();
}

QStringList DocumentLoad::notes() const
{
    QStringList all = reader.notes();
    for (const QString &text : builder.notes())
        if (!all.contains(text))
            all.append(text);
    return all;
}

// On the worker.
void DocumentLoad::readAll()
{
    const int count = reader.open(path) ? reader.pageCount() : 0;
    {
        std::lock_guard<std::mutex> guard(lock);
        listed = count;
    }
    for (int i = 0; i < count && !stopping; ++i) {
        PageParts parts = reader.readPage(i);
        if (i == 0 && !parts.background.isEmpty())
            QImageReader(parts.background, "PNG").read(&parts.backgroundPicture);
        std::unique_lock<std::mutex> guard(lock);
        arrived.push_back(std::move(parts));
        if (arrived.size() == 1)
            post();
        if (i == 0)
            resume.wait(guard, [this] { return resumed || stopping; });
    }
    std::lock_guard<std::mutex> guard(lock);
    readingDone = true;
    post();
}

// One wake-up of the GUI thread at a time, however many pages come meanwhile.
void DocumentLoad::post()
{
    if (!posted.exchange(true))
        QMetaObject::invokeMethod(this, &DocumentLoad::takeParts, Qt::QueuedConnection);
}

// The first page goes in alone, to show at once; later ones in slices.
void DocumentLoad::takeParts()
{
    posted = false;
    if (finished || stopped)
        return;
    QElapsedTimer slice;
    slice.start();
    QList<MainPage *> made;
    PageParts parts;
    while (slice.elapsed() < SliceMs && takeOne(&parts)) {
        if (MainPage *page = builder.build(parts)) {
            if (page->background == MainPage::PictureBackground
                && !parts.backgroundPicture.isNull())
                view->keepBackground(page, std::move(parts.backgroundPicture));
            made.append(page);
        }
        if (firstNumber == 0 && !made.isEmpty())
            break;
    }
    add(made);
    Q_EMIT signal_Waiting(waiting());
    // After the repaint that the first page asked for.
    QMetaObject::invokeMethod(this, &DocumentLoad::resumeReading, Qt::QueuedConnection);
    std::unique_lock<std::mutex> guard(lock);
    if (!arrived.empty()) {
        post();
    } else if (readingDone) {
        guard.unlock();
        finish();
    }
}

void DocumentLoad::resumeReading()
{
    std::lock_guard<std::mutex> guard(lock);
    resumed = true;
    resume.notify_one();
}

// False when none has arrived.
bool DocumentLoad::takeOne(PageParts *parts)
{
    std::lock_guard<std::mutex> guard(lock);
    if (arrived.empty())
        return false;
    *parts = std::move(arrived.front());
    arrived.pop_front();
    ++taken;
    return true;
}

void DocumentLoad::add(const QList<MainPage *> &pages)
{
    if (pages.isEmpty())
        return;
    const bool first = firstNumber == 0;
    if (first)
        view->document().addPages(pages);
    else
        view->document().insertPages(insertIndex(), pages);
    lastAddedId = pages.last()->id;
    if (first) {
        firstNumber = view->document().currentPageNumber();
        Q_EMIT signal_FirstPage();
    }
}

// After the last page added, or at the end when the user deleted it.
int DocumentLoad::insertIndex() const
{
    const QList<MainPage *> &pages = view->document().pageList();
    for (int i = 0; i < pages.size(); ++i)
        if (pages.at(i)->id == lastAddedId)
            return i + 1;
    return int(pages.size());
}

// What the worker still reads is waited for; what it read is let go.
void DocumentLoad::stop()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        stopping = true;
        resume.notify_one();
    }
    if (worker) {
        worker->wait();
        delete worker;
        worker = nullptr;
    }
    for (const PageParts &parts : arrived)
        if (!parts.background.isEmpty())
            QFile::remove(parts.background);
    arrived.clear();
}

void DocumentLoad::finish()
{
    if (finished)
        return;
    finished = true;
    stop();
    if (firstNumber == 0 && !stopped)
        reader.failNoPages();
    Q_EMIT signal_Finished(firstNumber > 0);
}
