// The session journal's cost. First the snapshot copied on the GUI thread
// for 20 full-HD pages of 1,000 strokes each (one page changed, and all
// pages changed) beside a full-HD layer copy. Then the whole cost of one
// edit: a stroke added to a document of 1, 20 or 100 full-HD pages of 30
// strokes of 60 points on picture backgrounds, and the journal written
// (snapshot and write, on one thread, as CPU and wall time), beside the
// changed page alone encoded and written to a file, in interleaved rounds.
#include "benchpage.h"
#include "benchpicture.h"
#include "benchrounds.h"
#include "benchtimer.h"

#include "app/appstate.h"
#include "app/filewriter.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objstroke.h"
#include "document/sessionjournal.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>

namespace {

constexpr int DensePages = 20;
constexpr int DenseStrokes = 1000;
constexpr int DensePoints = 40;

ObjStroke *denseStroke(int page, int i)
{
    auto *s = new ObjStroke;
    s->width = 4;
    s->colour = Qt::darkBlue;
    const QPointF start(20 + (i * 37) % 1800, 20 + (i * 53 + page) % 1000);
    s->path.moveTo(start);
    for (int k = 1; k < DensePoints; ++k)
        s->path.lineTo(start + QPointF(k * 2.5, 30 * std::sin(k / 6.0 + i)));
    return s;
}

void snapshotFigures()
{
    QList<MainPage *> pages;
    for (int p = 0; p < DensePages; ++p) {
        auto *page = new MainPage(QSize(1920, 1080), false);
        QList<Obj *> objects;
        for (int i = 0; i < DenseStrokes; ++i)
            objects.append(denseStroke(p, i));
        page->appendObjects(objects, false);
        pages.append(page);
    }
    std::printf("%d full-HD pages x %d strokes of %d points, medians\n", DensePages, DenseStrokes,
                DensePoints);
    DocumentSnapshot::Cache cache;
    DocumentSnapshot snap = DocumentSnapshot::take(pages, 1, &cache);
    const double oneChanged = medianMs(30, [&] {
        ++pages.first()->revision;
        snap = DocumentSnapshot::take(pages, 1, &cache);
    });
    const double allChanged = medianMs(10, [&] {
        for (MainPage *page : pages)
            ++page->revision;
        snap = DocumentSnapshot::take(pages, 1, &cache);
    });
    QImage layer(1920, 1080, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    const double layerCopy = medianMs(30, [&] {
        QImage copy = layer.copy();
        copy.bits();
    });
    std::printf("GUI thread, one page changed   %8.3f ms   (target < 4 ms)\n", oneChanged);
    std::printf("GUI thread, every page changed %8.3f ms\n", allChanged);
    std::printf("baseline: full-HD layer copy   %8.3f ms\n\n", layerCopy);
    qDeleteAll(pages);
}

constexpr int Strokes = 30;
constexpr int Points = 60;

// A stroke as the pen builds it: a dot, then quadratic pieces through the
// midpoints of a random walk; 60 points in all.
ObjStroke *penStroke(QRandomGenerator &rng, const QSize &page)
{
    auto *s = new ObjStroke;
    s->width = rng.bounded(2, 9);
    s->colour = QColor::fromRgb(rng.generate() | 0xff000000u);
    QPointF last(rng.bounded(page.width()), rng.bounded(page.height()));
    const QPointF drift(rng.bounded(6.0) - 3, rng.bounded(6.0) - 3);
    s->path.moveTo(last);
    s->path.lineTo(last + QPointF(0.05, 0.05));
    for (int i = 0; i < (Points - 2) / 2; ++i) {
        const QPointF pt = last + drift + QPointF(rng.bounded(9.0) - 4.5, rng.bounded(9.0) - 4.5);
        s->path.quadTo(last, (last + pt) / 2);
        last = pt;
    }
    return s;
}

double threadCpuMs()
{
    timespec t {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// One document and its journal.
struct Session
{
    QList<MainPage *> pages;
    std::unique_ptr<SessionJournal> journal;
    QRandomGenerator rng { 7 };

    Session(int count, const BenchPage &bench, const QString &pictureFile, const QString &path)
    {
        for (int p = 0; p < count; ++p) {
            auto *page = new MainPage(bench.logical, false);
            page->setPixels(bench.device, bench.ratio);
            QFile::copy(pictureFile, MainPage::backgroundFile(page->id));
            page->background = MainPage::PictureBackground;
            QList<Obj *> objects;
            for (int i = 0; i < Strokes; ++i)
                objects.append(penStroke(rng, bench.logical));
            page->appendObjects(objects, false);
            pages.append(page);
        }
        journal = std::make_unique<SessionJournal>(path, [this] { return pages; });
        journal->writeAndWait();
    }
    ~Session()
    {
        journal.reset();
        qDeleteAll(pages);
    }

    // A stroke finished on a page in the middle of the document.
    MainPage *addStroke()
    {
        MainPage *page = pages.at(pages.size() / 2);
        page->appendObjects({ penStroke(rng, page->size) }, false);
        ++page->revision;
        return page;
    }
};

// What an edit costs at the least: the changed page's own bytes encoded and
// written to a file of their own.
void writePageAlone(MainPage *page, const QString &file)
{
    const DocumentSnapshot snap = DocumentSnapshot::take({ page }, 1);
    QList<DocumentWriter::Entry> entries;
    FileWriter::write(file, DocumentWriter::manifest(snap, DocumentWriter::Referenced, &entries));
}

void editFigures(const QString &folder)
{
    const BenchPage bench = BenchPage::fromEnvironment();
    const QString pictureFile = folder + QStringLiteral("/picture.png");
    makePicture(bench.device, 1).save(pictureFile, "png", 80);
    const QList<int> counts { 1, 20, 100 };
    std::map<int, std::unique_ptr<Session>> sessions;
    for (int n : counts)
        sessions[n] = std::make_unique<Session>(n, bench, pictureFile,
                                                folder + QStringLiteral("/session-%1").arg(n));
    std::printf("One stroke added, then the journal written: pages of %d x %d device pixels "
                "(scale %.0f), %d strokes of %d points, a picture background\n",
                bench.device.width(), bench.device.height(), bench.ratio, Strokes, Points);

    BenchRounds rounds;
    std::map<std::string, double> wall;
    auto timed = [&wall](const std::string &name, const std::function<void()> &work) {
        return [&wall, name, work] {
            QElapsedTimer clock;
            clock.start();
            const double cpu = threadCpuMs();
            work();
            const double used = threadCpuMs() - cpu;
            wall[name] = clock.nsecsElapsed() / 1e6;
            return used;
        };
    };
    const QString alone = folder + QStringLiteral("/page-alone.json");
    const std::string baseline = "baseline: the changed page alone, CPU";
    rounds.add(baseline, timed(baseline, [&] { writePageAlone(sessions[1]->addStroke(), alone); }));
    rounds.add(baseline + " (wall)", [&] { return wall[baseline]; });
    for (int n : counts) {
        const std::string name = "journal, " + std::to_string(n) + " pages, CPU";
        rounds.add(name, timed(name, [&sessions, n] {
                       sessions[n]->addStroke();
                       sessions[n]->journal->writeAndWait();
                   }));
        rounds.add(name + " (wall)", [&wall, name] { return wall[name]; });
    }
    rounds.run();
    rounds.print(baseline);
    rounds.print(baseline + " (wall)");
    for (int n : counts) {
        const std::string name = "journal, " + std::to_string(n) + " pages, CPU";
        rounds.print(name);
        rounds.print(name + " (wall)");
        std::printf("  %d pages to the changed page alone:", n);
        rounds.printRatio(name, baseline, 0);
    }
    std::printf("  100 pages to 1 page, CPU:");
    rounds.printRatio("journal, 100 pages, CPU", "journal, 1 pages, CPU", 2);
    std::printf("  100 pages to 1 page, wall:");
    rounds.printRatio("journal, 100 pages, CPU (wall)", "journal, 1 pages, CPU (wall)", 2);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    AppState::instance().tempFolder = dir.path() + QLatin1Char('/');
    snapshotFigures();
    editFigures(dir.path());
    return 0;
}
