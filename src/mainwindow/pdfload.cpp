#include "pdfload.h"

#include "app/devicepixels.h"
#include "app/screeninuse.h"
#include "canvas/mainview.h"
#include "document/document.h"
#include "document/mainpage.h"
#include "document/pdfloader.h"
#include "document/pdfsource.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScreen>

#include <mutex>
#include <thread>

namespace {

// The GUI thread makes pages for this long before it lets events through.
constexpr int SliceMs = 8;
// Opening and the first page, from the file to the pixels.
constexpr int DeadlineMs = 15000;

// What a worker found.
struct Outcome
{
    QByteArray bytes;
    std::shared_ptr<PdfSource> source;
    PdfRefusal why = PdfRefusal::None;
    QString error; // a refusal that is not the PDF's own
    QImage first;
};

Outcome readFile(const QString &path)
{
    Outcome out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        out.error = QStringLiteral("It could not be read.");
    else if (file.size() > PdfBounds::MaxBytes)
        out.why = PdfRefusal::TooLarge;
    else
        out.bytes = file.readAll();
    if (out.error.isEmpty() && out.why == PdfRefusal::None && out.bytes.size() != file.size())
        out.error = QStringLiteral("It could not be read.");
    return out;
}

QString refusalText(PdfRefusal why)
{
    return why == PdfRefusal::TooLarge ? QStringLiteral("It is too large to open.")
                                       : QStringLiteral("It is damaged or is not a PDF.");
}

} // namespace

// The one link between a worker and its load: a worker that outlives the
// load, or its deadline, finds the owner gone and posts nothing.
struct PdfLoad::Attempt
{
    std::mutex lock;
    PdfLoad *owner = nullptr;
};

PdfLoad::PdfLoad(MainView *pView, const QString &strPath, QObject *pParent)
    : QObject(pParent)
    , view(pView)
    , path(strPath)
    , opener([](const QByteArray &bytes, const QString &password, PdfRefusal *why) {
        return PdfSource::open(bytes, password, why);
    })
{
    QScreen *screen = ScreenInUse::screen();
    size = screen ? screen->size() : QSize(800, 600);
    ratio = screen ? screen->devicePixelRatio() : 1.0;
    pixels = DevicePixels::size(size, ratio);
    deadline.setSingleShot(true);
    deadline.setInterval(DeadlineMs);
    connect(&deadline, &QTimer::timeout, this,
            [this] { refuse(QStringLiteral("It took too long to open; it may be damaged.")); });
    // An emptied document takes no late pages.
    connect(&view->document(), &Document::currentPageChanged, this, [this](MainPage *page) {
        if (!page && firstNumber > 0 && !finished) {
            stopped = true;
            finish(true);
        }
    });
}

PdfLoad::~PdfLoad()
{
    if (!running)
        return;
    std::lock_guard<std::mutex> guard(running->lock);
    running->owner = nullptr;
}

// The worker is left to end on its own: a PDF that never finishes opening
// must not hold the program.
void PdfLoad::attempt(const QString &strPassword)
{
    auto state = std::make_shared<Attempt>();
    state->owner = this;
    running = state;
    deadline.start();
    std::thread([state, file = path, known = bytes, strPassword, open = opener, box = pixels] {
        Outcome out;
        if (known.isEmpty())
            out = readFile(file);
        else
            out.bytes = known;
        if (out.error.isEmpty() && out.why == PdfRefusal::None && !PdfLoader::module())
            out.error = QLatin1String(PdfLoader::Missing);
        if (out.error.isEmpty() && out.why == PdfRefusal::None)
            out.source = open(out.bytes, strPassword, &out.why);
        if (out.source)
            out.first = out.source->render(0, box);
        std::lock_guard<std::mutex> guard(state->lock);
        if (!state->owner)
            return;
        QMetaObject::invokeMethod(
            state->owner,
            [owner = state->owner, out = std::move(out)]() mutable {
                owner->opened(std::move(out.bytes), std::move(out.source), out.why, out.error,
                              std::move(out.first));
            },
            Qt::QueuedConnection);
    }).detach();
}

void PdfLoad::opened(QByteArray data, std::shared_ptr<PdfSource> source, PdfRefusal why,
                     const QString &strError, QImage first)
{
    if (finished)
        return;
    deadline.stop();
    running.reset();
    bytes = std::move(data);
    if (!strError.isEmpty()) {
        refuse(strError);
    } else if (why == PdfRefusal::NeedsPassword || why == PdfRefusal::WrongPassword) {
        Q_EMIT signal_PasswordWanted(why == PdfRefusal::WrongPassword);
    } else if (!source) {
        refuse(refusalText(why));
    } else {
        pdf = std::move(source);
        addFirst(std::move(first));
    }
}

void PdfLoad::cancel()
{
    stopped = true;
    finish(false);
}

void PdfLoad::refuse(const QString &strError)
{
    if (running) {
        std::lock_guard<std::mutex> guard(running->lock);
        running->owner = nullptr;
    }
    running.reset();
    errorText = strError;
    finish(false);
}

MainPage *PdfLoad::makePage(int index) const
{
    auto *page = new MainPage(size, false);
    page->setPixels(pixels, ratio);
    page->background = MainPage::PdfBackground;
    page->pdf = pdf;
    page->pdfPage = index;
    return page;
}

void PdfLoad::addFirst(QImage first)
{
    MainPage *page = makePage(0);
    if (!first.isNull())
        view->keepBackground(page, std::move(first));
    Document &document = view->document();
    document.insertPages(document.pageCount(), { page });
    document.gotoPage(document.pageCount() - 1);
    lastAddedId = page->id;
    made = 1;
    firstNumber = document.currentPageNumber();
    Q_EMIT signal_FirstPage();
    Q_EMIT signal_Waiting(pdf->pageCount() - made);
    // After the repaint that the first page asked for.
    QMetaObject::invokeMethod(this, &PdfLoad::addSlice, Qt::QueuedConnection);
}

void PdfLoad::addSlice()
{
    if (finished)
        return;
    QElapsedTimer slice;
    slice.start();
    QList<MainPage *> pages;
    while (made < pdf->pageCount() && slice.elapsed() < SliceMs)
        pages.append(makePage(made++));
    view->document().insertPages(insertIndex(), pages);
    if (!pages.isEmpty())
        lastAddedId = pages.last()->id;
    Q_EMIT signal_Waiting(pdf->pageCount() - made);
    if (made < pdf->pageCount())
        QMetaObject::invokeMethod(this, &PdfLoad::addSlice, Qt::QueuedConnection);
    else
        finish(true);
}

// After the last page added, or at the end when the user deleted it.
int PdfLoad::insertIndex() const
{
    const QList<MainPage *> &pages = view->document().pageList();
    for (int i = 0; i < pages.size(); ++i)
        if (pages.at(i)->id == lastAddedId)
            return i + 1;
    return int(pages.size());
}

void PdfLoad::finish(bool bOpened)
{
    if (finished)
        return;
    finished = true;
    deadline.stop();
    Q_EMIT signal_Finished(bOpened);
}
