// The session journal's cost: the snapshot copied on the GUI thread for 20
// full-HD pages of 1,000 strokes each (one page changed, and all pages
// changed), and the worker's encoding and writing of it; beside a full-HD
// layer copy and a raw write of the same bytes, measured in the same run.
#include "benchtimer.h"

#include "app/appstate.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QGuiApplication>
#include <QImage>
#include <QSaveFile>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

constexpr int Pages = 20;
constexpr int Strokes = 1000;
constexpr int Points = 40;

ObjStroke *stroke(int page, int i)
{
    auto *s = new ObjStroke;
    s->width = 4;
    s->colour = Qt::darkBlue;
    const QPointF start(20 + (i * 37) % 1800, 20 + (i * 53 + page) % 1000);
    s->path.moveTo(start);
    for (int k = 1; k < Points; ++k)
        s->path.lineTo(start + QPointF(k * 2.5, 30 * std::sin(k / 6.0 + i)));
    return s;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    AppState::instance().tempFolder = dir.path() + QLatin1Char('/');
    QList<MainPage *> pages;
    for (int p = 0; p < Pages; ++p) {
        auto *page = new MainPage(QSize(1920, 1080), false);
        QList<Obj *> objects;
        for (int i = 0; i < Strokes; ++i)
            objects.append(stroke(p, i));
        page->appendObjects(objects, false);
        pages.append(page);
    }
    std::printf("%d full-HD pages x %d strokes of %d points, medians\n", Pages, Strokes, Points);

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
    std::printf("baseline: full-HD layer copy   %8.3f ms\n", layerCopy);

    const QString session = dir.filePath(QStringLiteral("session.tavelmark"));
    QList<DocumentWriter::Entry> entries;
    QByteArray manifest;
    const double encode = medianMs(3, [&] {
        entries.clear();
        manifest = DocumentWriter::manifest(snap, DocumentWriter::Referenced, &entries);
    });
    const double write
        = medianMs(3, [&] { DocumentWriter().write(snap, session, DocumentWriter::Referenced); });
    const double raw = medianMs(3, [&] {
        QSaveFile file(dir.filePath(QStringLiteral("raw")));
        file.open(QIODevice::WriteOnly);
        file.write(manifest);
        file.commit();
    });
    std::printf("worker: encode manifest        %8.1f ms   (%.1f MB of JSON)\n", encode,
                manifest.size() / 1e6);
    std::printf("worker: whole session write    %8.1f ms   (%.1f MB file)\n", write,
                QFileInfo(session).size() / 1e6);
    std::printf("baseline: raw write of the JSON %7.1f ms\n", raw);
    qDeleteAll(pages);
    return 0;
}
