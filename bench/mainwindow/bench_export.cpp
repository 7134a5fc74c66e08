// Exporting 20 pages (distinct picture backgrounds with drawings) to a ZIP of
// PNG pictures and to a PDF as the command does (pages copied out, written
// on a worker, the end awaited on this thread), beside the single-threaded way of doing the same
// work measured in the same run: rendering the pages one after another and
// encoding each as PNG at the encoder's default level, or drawing each into a
// QPdfWriter. Rounds alternate between the two; each line gives the median
// and the spread (min-max). Full-HD pages, then pages of a screen scaled by 2
// (2560 x 1600 device pixels).
#include "app/appstate.h"
#include "canvas/mainview.h"
#include "document/addcommand.h"
#include "document/mainpage.h"
#include "document/objstroke.h"
#include "document/pagerenderer.h"
#include "mainwindow/exportrun.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Both can be lowered on the command line ("bench_export ROUNDS PAGES") for a
// quick look on a busy machine; a third argument "profile-pdf" runs only the
// PDF export, ROUNDS times, for a profiler.
int PageCount = 20;
int Rounds = 7;

// A photograph-like picture: a gradient sky and soft discs, different per page.
QPixmap background(int index, const QSize &pixels, qreal ratio, QRandomGenerator &rng)
{
    QImage image(pixels, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, pixels.height());
    sky.setColorAt(0, QColor::fromHsv(index * 17 % 360, 120, 240));
    sky.setColorAt(1, QColor::fromHsv((index * 17 + 90) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        QRadialGradient disc(QPointF(rng.bounded(pixels.width()), rng.bounded(pixels.height())),
                             rng.bounded(40, 200) * ratio);
        disc.setColorAt(0, QColor::fromRgb(rng.generate() | 0xff000000u));
        disc.setColorAt(1, Qt::transparent);
        painter.fillRect(image.rect(), disc);
    }
    painter.end();
    QPixmap picture = QPixmap::fromImage(image);
    picture.setDevicePixelRatio(ratio);
    return picture;
}

void addDrawings(MainView &view, const QSize &size, QRandomGenerator &rng)
{
    for (int i = 0; i < 30; ++i) {
        auto *stroke = new ObjStroke;
        stroke->width = rng.bounded(3, 12);
        stroke->colour = QColor::fromRgb(rng.generate() | 0xff000000u);
        QPointF at(rng.bounded(size.width()), rng.bounded(size.height()));
        stroke->path.moveTo(at);
        for (int j = 0; j < 40; ++j) {
            at += QPointF(rng.bounded(40.0) - 20, rng.bounded(40.0) - 20);
            stroke->path.lineTo(at);
        }
        view.pushCommand(new AddCommand(&view, stroke));
    }
}

void fillPages(MainView &view, const QSize &size, qreal ratio)
{
    QRandomGenerator rng(11);
    const QSize pixels = size * ratio;
    for (int i = 0; i < PageCount; ++i) {
        view.newPage();
        view.currentPage()->size = size;
        view.currentPage()->setPixels(pixels, ratio);
        view.setBackground(background(i, pixels, ratio, rng));
        addDrawings(view, size, rng);
    }
}

// True when the file was written; else the reason is in `error`.
bool exportPages(const MainView &view, const ExportRun::Work &work, QString *error)
{
    ExportRun run(PageRenderer::snapshot(view.document().pageList()), work);
    bool written = false;
    QEventLoop loop;
    QObject::connect(&run, &ExportRun::signal_Finished, &loop, [&](bool ok) {
        written = ok;
        loop.quit();
    });
    run.start();
    loop.exec();
    if (!written)
        *error = run.errorString();
    return written;
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return timer.nsecsElapsed() / 1e6;
}

// Today's single-threaded PDF: each page rendered, then drawn into the writer.
void baselinePdf(const MainView &view)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(96);
    writer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter(&writer);
    const QRect viewport = painter.viewport();
    for (int i = 0; i < view.document().pageCount(); ++i) {
        if (i > 0)
            writer.newPage();
        const QImage picture = PageRenderer::renderPage(view.document().pageList().at(i));
        painter.drawImage(
            QRect(QPoint(), picture.size().scaled(viewport.size(), Qt::KeepAspectRatio)), picture);
    }
}

// Today's single-threaded pictures: each page rendered, then encoded as PNG at
// the default level. Returns the bytes, to compare the sizes.
qint64 baselinePng(const MainView &view)
{
    qint64 bytes = 0;
    for (int i = 0; i < view.document().pageCount(); ++i) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        PageRenderer::renderPage(view.document().pageList().at(i)).save(&buffer, "PNG");
        bytes += buffer.size();
    }
    return bytes;
}

struct Spread
{
    std::vector<double> ms;

    double median() const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double min() const { return *std::min_element(ms.begin(), ms.end()); }
    double max() const { return *std::max_element(ms.begin(), ms.end()); }
};

void printLine(const char *name, const Spread &fresh, const Spread &base, double target)
{
    std::printf("%-11s %8.0f ms (%.0f-%.0f)  single-threaded %8.0f ms (%.0f-%.0f)  ratio %.2f "
                "(target %.2f)\n",
                name, fresh.median(), fresh.min(), fresh.max(), base.median(), base.min(),
                base.max(), fresh.median() / base.median(), target);
}

bool measure(const char *title, const QSize &size, qreal ratio, const QString &folder)
{
    MainView view;
    fillPages(view, size, ratio);
    const QString pdf = folder + QStringLiteral("/pages.pdf");
    const QString zip = folder + QStringLiteral("/pages.zip");
    QString error;
    const auto exportPdf = [&] {
        return exportPages(
            view, [&pdf](PageExporter &exporter) { return exporter.exportPdf(pdf); }, &error);
    };
    const auto exportZip = [&] {
        return exportPages(
            view,
            [&zip](PageExporter &exporter) {
                return exporter.exportImages(zip, QStringLiteral("png"), false);
            },
            &error);
    };
    if (QCoreApplication::arguments().value(3) == QLatin1String("profile-pdf")) {
        bool written = true;
        for (int round = 0; round < Rounds; ++round)
            written = exportPdf() && written;
        return written;
    }
    bool ok = exportPdf() && exportZip();
    qint64 baselineBytes = baselinePng(view);
    baselinePdf(view);
    Spread zipNew, zipOld, pdfNew, pdfOld;
    for (int round = 0; round < Rounds && ok; ++round) {
        zipNew.ms.push_back(timeMs([&] { ok = exportZip() && ok; }));
        zipOld.ms.push_back(timeMs([&] { baselineBytes = baselinePng(view); }));
        pdfNew.ms.push_back(timeMs([&] { ok = exportPdf() && ok; }));
        pdfOld.ms.push_back(timeMs([&] { baselinePdf(view); }));
    }
    if (!ok) {
        std::printf("export failed: %s\n", qPrintable(error));
        return false;
    }
    std::printf("%d pages of %s, %d threads, median (min-max) of %d interleaved rounds\n",
                PageCount, title, QThread::idealThreadCount(), Rounds);
    std::fflush(stdout);
    printLine("ZIP of PNG", zipNew, zipOld, 0.6);
    printLine("PDF", pdfNew, pdfOld, 0.8);
    const qint64 zipBytes = QFileInfo(zip).size();
    std::printf("sizes       ZIP %lld KiB, single-threaded PNGs %lld KiB (ratio %.3f, at most "
                "1.10); PDF %lld KiB\n",
                zipBytes / 1024, baselineBytes / 1024, double(zipBytes) / double(baselineBytes),
                QFileInfo(pdf).size() / 1024);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    Rounds = qMax(1, arguments.value(1, QStringLiteral("7")).toInt());
    PageCount = qMax(1, arguments.value(2, QStringLiteral("20")).toInt());
    QTemporaryDir folder;
    AppState::instance().tempFolder = folder.path() + QLatin1Char('/');
    if (!measure("1920 x 1080", QSize(1920, 1080), 1.0, folder.path()))
        return 1;
    if (arguments.size() > 3)
        return 0;
    return measure("2560 x 1600 at scale 2", QSize(1280, 800), 2.0, folder.path()) ? 0 : 1;
}
