// Opening a document of 1, 20 and 100 full-HD pages, each with a picture
// background and 30 strokes of 60 points, as Open Document does: from the
// call to its first page painted on the canvas, to all pages in, and the
// longest time the GUI thread went without running its event loop meanwhile
// (a timer ticking every 2 ms on it notices). The 1-page document is the
// baseline; rounds interleave the three sizes.
#include "benchpage.h"
#include "benchpicture.h"
#include "benchrounds.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "document/addcommand.h"
#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objstroke.h"
#include "mainwindow/documentfiles.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {
BenchPage bench;

// 60 points: a dot, then quadratic pieces through the midpoints of a walk.
ObjStroke *penStroke(QRandomGenerator &rng)
{
    auto *s = new ObjStroke;
    s->width = rng.bounded(2, 9);
    s->colour = QColor::fromRgb(rng.generate() | 0xff000000u);
    QPointF last(rng.bounded(bench.logical.width()), rng.bounded(bench.logical.height()));
    s->path.moveTo(last);
    s->path.lineTo(last + QPointF(0.05, 0.05));
    for (int i = 0; i < 29; ++i) {
        const QPointF pt = last + QPointF(rng.bounded(19.0) - 9.5, rng.bounded(19.0) - 9.5);
        s->path.quadTo(last, (last + pt) / 2);
        last = pt;
    }
    return s;
}

// Distinct pictures cost as much to write as to read; eight repeat.
QString writeDocument(MainView *view, int pages, const QString &target)
{
    QRandomGenerator rng(11);
    for (int i = 0; i < pages; ++i) {
        view->newPage();
        view->currentPage()->size = bench.logical;
        view->currentPage()->setPixels(bench.device, bench.ratio);
        QPixmap picture = QPixmap::fromImage(makePicture(bench.device, i % 8));
        picture.setDevicePixelRatio(bench.ratio);
        view->setBackground(picture);
        for (int s = 0; s < 30; ++s)
            view->pushCommand(new AddCommand(view, penStroke(rng)));
    }
    DocumentWriter writer;
    if (!writer.write(DocumentSnapshot::take(view->document().pageList(), 1), target,
                      DocumentWriter::Embedded))
        std::printf("could not write %s\n", qPrintable(target));
    view->document().clear();
    return target;
}

struct Opening
{
    double firstPage = 0;
    double allPages = 0;
    double longestBlock = 0;
};

Opening open(MainView *view, DocumentFiles *files, const QString &path, int pages)
{
    Opening o;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    QTimer ticker;
    ticker.setInterval(2);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        o.longestBlock = qMax(o.longestBlock, (now - lastTick) / 1e6);
        lastTick = now;
    });
    ticker.start();
    clock.start();
    files->openDocumentFile(path);
    while (view->document().pageCount() == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    view->QWidget::repaint();
    o.firstPage = clock.nsecsElapsed() / 1e6;
    while (view->document().pageCount() < pages)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qint64 now = clock.nsecsElapsed();
    ticker.stop();
    o.allPages = now / 1e6;
    o.longestBlock = qMax(o.longestBlock, (now - lastTick) / 1e6);
    view->QWidget::repaint();
    view->document().clear();
    files->forgetDocument();
    QCoreApplication::processEvents();
    return o;
}

std::string name(const char *what, int pages)
{
    return std::string(what) + ", " + std::to_string(pages) + (pages == 1 ? " page" : " pages");
}
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bench = BenchPage::fromEnvironment();
    QTemporaryDir dir;
    QDir().mkpath(AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/")));
    QWidget window;
    window.resize(bench.logical);
    auto *view = new MainView(&window);
    DocumentFiles files(view, &window);
    window.show();
    QCoreApplication::processEvents();

    const QList<int> sizes { 1, 20, 100 };
    BenchRounds rounds;
    std::map<int, Opening> last;
    for (int pages : sizes) {
        const QString path = writeDocument(
            view, pages, dir.filePath(QStringLiteral("pages%1.tavelmark").arg(pages)));
        rounds.add(name("first page shown", pages), [view, &files, path, pages, &last] {
            last[pages] = open(view, &files, path, pages);
            return last[pages].firstPage;
        });
        // Taken from the same opening as the first page.
        rounds.add(name("all pages in", pages), [pages, &last] { return last[pages].allPages; });
        rounds.add(name("longest GUI block", pages),
                   [pages, &last] { return last[pages].longestBlock; });
        // What comes before any page: the whole manifest inflated and split.
        rounds.add(name("manifest alone (DocumentReader::open)", pages), [path] {
            QElapsedTimer timer;
            timer.start();
            DocumentReader reader;
            reader.open(path);
            return timer.nsecsElapsed() / 1e6;
        });
    }
    rounds.run(7);
    std::printf("opening a document of full-HD pages (%d x %d device pixels), each with a picture "
                "background and 30 strokes of 60 points; medians (spread) of interleaved rounds\n",
                bench.device.width(), bench.device.height());
    for (int pages : sizes) {
        rounds.print(name("first page shown", pages));
        rounds.print(name("all pages in", pages));
        rounds.print(name("longest GUI block", pages));
        rounds.print(name("manifest alone (DocumentReader::open)", pages));
    }
    std::printf("  first page of 100 pages against 1 page:\n  ");
    const bool met
        = rounds.printRatio(name("first page shown", 100), name("first page shown", 1), 1.5);
    const auto beyondManifest = [&](int pages) {
        return rounds.figure(name("first page shown", pages)).median
            - rounds.figure(name("manifest alone (DocumentReader::open)", pages)).median;
    };
    std::printf("  the same beyond reading each manifest (medians): ratio %.2f\n",
                beyondManifest(100) / beyondManifest(1));
    const double block = rounds.figure(name("longest GUI block", 100)).median;
    std::printf("  longest GUI block while 100 pages load: %.1f ms, target at most 50 ms: %s\n",
                block, block <= 50 ? "met" : "NOT met");
    return met && block <= 50 ? 0 : 1;
}
