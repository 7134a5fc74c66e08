// Save Document as the program runs it, from the request to the file in
// place and the document marked saved: 1, 20 and 100 pages of the screen's
// size (full HD, or its device pixels under QT_SCALE_FACTOR) with distinct
// picture backgrounds and 30 strokes of 60 points, every page changed since
// the last save; then the 100 pages saved again after one stroke on one page.
// Beside each, the floor of any save: the same manifest and picture files
// written one after another into a plain file (no ZIP, no checks, no
// rename). Also the longest time the GUI thread was held during the changed
// save. Interleaved rounds (BenchRounds), medians and spreads.
#include "benchpage.h"
#include "benchpicture.h"
#include "benchrounds.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "document/addcommand.h"
#include "document/backgroundfiles.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objstroke.h"
#include "mainwindow/documentfiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLinearGradient>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

BenchPage bench;

ObjStroke *stroke(QRandomGenerator &rng)
{
    auto *s = new ObjStroke;
    s->width = rng.bounded(2, 9);
    s->colour = QColor::fromRgb(rng.generate() | 0xff000000u);
    QPointF at(rng.bounded(bench.logical.width()), rng.bounded(bench.logical.height()));
    s->path.moveTo(at);
    for (int i = 1; i < 60; ++i) {
        at += QPointF(rng.bounded(20.0) - 10, rng.bounded(20.0) - 10);
        s->path.lineTo(at);
    }
    return s;
}

// A document of `count` pages in a view of its own, saved once under `file`.
struct Lesson
{
    MainView view;
    QWidget parent;
    std::unique_ptr<DocumentFiles> files;
    QByteArray manifest;
    QStringList pictures;

    Lesson(int count, const QString &file)
    {
        QRandomGenerator rng(count);
        for (int i = 0; i < count; ++i) {
            view.newPage();
            MainPage *page = view.currentPage();
            page->size = bench.logical;
            page->setPixels(bench.device, bench.ratio);
            QPixmap picture = QPixmap::fromImage(makePicture(bench.device, i));
            picture.setDevicePixelRatio(bench.ratio);
            view.setBackground(picture);
            for (int s = 0; s < 30; ++s)
                view.pushCommand(new AddCommand(&view, stroke(rng)));
        }
        BackgroundFiles::instance().finish();
        files = std::make_unique<DocumentFiles>(&view, &parent);
        files->setDocumentPath(file);
        QList<DocumentWriter::Entry> entries;
        manifest = DocumentWriter::manifest(DocumentSnapshot::take(view.document().pageList(), 1),
                                            DocumentWriter::Embedded, &entries);
        for (const DocumentWriter::Entry &e : entries)
            pictures.append(e.file);
    }

    void changeAll()
    {
        for (MainPage *page : view.document().pageList())
            ++page->revision;
    }
};

// The GUI thread's longest stretch without running its event loop.
struct Stall
{
    double longest = 0;
};

// Saves and returns the milliseconds until the document is saved; `stall`
// gets the longest time the GUI thread was held meanwhile (the request
// itself, or a gap between the ticks of a 1 ms timer).
double save(Lesson &lesson, Stall *stall = nullptr)
{
    QElapsedTimer timer;
    QEventLoop loop;
    QTimer tick;
    tick.setInterval(1);
    qint64 last = 0, longest = 0;
    auto held = [&] {
        const qint64 now = timer.nsecsElapsed();
        longest = qMax(longest, now - last);
        last = now;
    };
    QObject::connect(&tick, &QTimer::timeout, held);
    std::optional<bool> written;
    timer.start();
    tick.start();
    lesson.files->saveDocument([&](bool bWritten) {
        written = bWritten;
        loop.quit();
    });
    held();
    if (!written)
        loop.exec();
    const double ms = timer.nsecsElapsed() / 1e6;
    if (stall)
        stall->longest = longest / 1e6;
    if (!written.value_or(false) || lesson.view.document().isModified()) {
        std::fprintf(stderr, "the save failed\n");
        std::exit(1);
    }
    return ms;
}

double floorWrite(const Lesson &lesson, const QString &file)
{
    QElapsedTimer timer;
    timer.start();
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return -1;
    out.write(lesson.manifest);
    for (const QString &picture : lesson.pictures) {
        QFile in(picture);
        if (in.open(QIODevice::ReadOnly))
            out.write(in.readAll());
    }
    out.close();
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bench = BenchPage::fromEnvironment();
    QTemporaryDir dir;
    AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/"));
    QDir().mkpath(AppState::instance().tempFolder);

    const int counts[] = { 1, 20, 100 };
    std::vector<std::unique_ptr<Lesson>> lessons;
    for (int count : counts)
        lessons.push_back(std::make_unique<Lesson>(
            count, dir.filePath(QStringLiteral("lesson-%1.tavelmark").arg(count))));
    Lesson &hundred = *lessons.back();
    hundred.view.document().gotoPage(49);
    QRandomGenerator rng(7);

    BenchRounds rounds;
    std::vector<std::string> names;
    for (size_t i = 0; i < lessons.size(); ++i) {
        Lesson *lesson = lessons[i].get();
        const std::string pages = std::to_string(counts[i]) + (counts[i] == 1 ? " page" : " pages");
        names.push_back(pages);
        rounds.add("save " + pages, [lesson] {
            lesson->changeAll();
            return save(*lesson);
        });
        const QString floorFile = dir.filePath(QStringLiteral("floor-%1").arg(counts[i]));
        rounds.add("floor " + pages,
                   [lesson, floorFile] { return floorWrite(*lesson, floorFile); });
    }
    Stall stall;
    std::vector<double> stalls;
    rounds.add("save 100 pages, one changed", [&] {
        hundred.view.pushCommand(new AddCommand(&hundred.view, stroke(rng)));
        const double ms = save(hundred, &stall);
        stalls.push_back(stall.longest);
        return ms;
    });
    rounds.run();

    std::printf("Save Document, %d x %d device pixels per page (ratio %.0f), PNG backgrounds, "
                "30 strokes of 60 points; floor: the same bytes into a plain file\n",
                bench.device.width(), bench.device.height(), bench.ratio);
    for (const std::string &pages : names) {
        rounds.print("save " + pages);
        rounds.print("floor " + pages);
        rounds.printRatio("save " + pages, "floor " + pages, 0);
    }
    std::printf("  the 100-page file: %.1f MB\n",
                QFileInfo(dir.filePath(QStringLiteral("lesson-100.tavelmark"))).size() / 1e6);
    rounds.print("save 100 pages, one changed");
    rounds.printRatio("save 100 pages, one changed", "floor 100 pages", 0);
    std::printf("  GUI thread held during the changed save, median %.3f ms, worst %.3f ms\n",
                median(stalls), *std::max_element(stalls.begin(), stalls.end()));
    return 0;
}
