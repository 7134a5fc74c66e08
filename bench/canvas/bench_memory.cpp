// The memory of the process (VmRSS) after a 100-page document with picture
// backgrounds and 30 strokes of 60 points per page is in place and its first
// page shown, and after paging through all of it and back, beside the page
// caches' budget: the pictures and layers kept for page switches.
#include "benchmemory.h"
#include "benchpage.h"
#include "benchpicture.h"
#include "benchstrokes.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "document/mainpage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

void waitForDecodes(MainView *view)
{
    while (view->isDecodingAhead())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
}

// Pages as a document read from its file has them: the picture in its file,
// decoded when the page is shown or decoded ahead.
void addPages(MainView *view, const BenchPage &bench, int count, const QString &folder)
{
    const int kinds = 10;
    for (int i = 0; i < kinds; ++i)
        makePicture(bench.device, i)
            .save(QStringLiteral("%1/source%2.png").arg(folder).arg(i), "PNG", 80);
    QRandomGenerator rng(5);
    for (int i = 0; i < count; ++i) {
        view->newPage();
        MainPage *page = view->currentPage();
        page->size = bench.logical;
        page->setPixels(bench.device, bench.ratio);
        QFile::copy(QStringLiteral("%1/source%2.png").arg(folder).arg(i % kinds),
                    MainPage::backgroundFile(page->id));
        page->background = MainPage::PictureBackground;
        QList<Obj *> strokes;
        for (int s = 0; s < 30; ++s)
            strokes.append(writtenStroke(rng, bench.logical));
        page->appendObjects(strokes, false);
    }
}

// With `holdMs`, a switch every so many milliseconds as a held key repeats,
// whatever was decoded by then; else each switch waits for the decodes ahead.
void pageThrough(MainView *view, int from, int to, int holdMs = 0)
{
    const int step = from < to ? 1 : -1;
    for (int i = from; i != to + step; i += step) {
        view->document().gotoPage(i);
        if (holdMs > 0) {
            QElapsedTimer held;
            held.start();
            while (held.elapsed() < holdMs)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, holdMs);
        } else {
            waitForDecodes(view);
        }
        if (qEnvironmentVariableIsSet("TAV_BENCH_TRACE"))
            std::printf("    page %d: %.1f MB, picture %s\n", i + 1, rssMb(),
                        view->backgroundPicture().isNull() ? "missing" : "shown");
    }
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const BenchPage bench = BenchPage::fromEnvironment();
    QTemporaryDir dir;
    QDir().mkpath(AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/")));
    QWidget window;
    window.resize(bench.logical);
    auto *view = new MainView(&window);
    const int pages = 100;
    addPages(view, bench, pages, dir.path());
    window.show();
    view->fitToWindow(bench.logical);
    view->document().gotoPage(0);
    waitForDecodes(view);
    const double opened = rssMb();
    pageThrough(view, 0, pages - 1);
    const double forward = rssMb();
    pageThrough(view, pages - 1, 0);
    const double back = rssMb();
    pageThrough(view, 0, pages - 1, 33);
    pageThrough(view, pages - 1, 0, 33);
    waitForDecodes(view);
    const double held = rssMb();
    // Three decoded pictures and three rendered layers, each of the page's
    // device pixels at four bytes.
    const double picture = 4.0 * bench.device.width() * bench.device.height() / (1024 * 1024);
    const double budget = 6 * picture;
    std::printf("memory (VmRSS) with %d pages of %d x %d device pixels, 30 strokes each\n", pages,
                bench.device.width(), bench.device.height());
    std::printf("  after the first page is shown          %8.1f MB\n", opened);
    std::printf("  after paging through all pages         %8.1f MB\n", forward);
    std::printf("  after paging back to the first         %8.1f MB\n", back);
    std::printf("  after paging there and back, a switch every 33 ms %8.1f MB\n", held);
    std::printf("  page caches' budget (3 pictures, 3 layers) %6.1f MB\n", budget);
    const double worst = std::max({ forward, back, held });
    const double ratio = worst / (opened + budget);
    std::printf("  ratio %.2f of after opening + budget, target at most 1.20: %s\n", ratio,
                ratio <= 1.2 ? "met" : "NOT met");
    return ratio <= 1.2 ? 0 : 1;
}
