// The PDF exports, each beside its baseline in the same run (BenchRounds:
// interleaved rounds, medians and spreads).
//  - 20 full-HD pages with 30 strokes each, of captured desktops and of
//    photographs, exported as vectors over their backgrounds, beside the
//    former export: every page rendered on the workers and drawn into the
//    PDF as one JPEG. Times and sizes; then, for the backgrounds alone, the
//    size, time and PSNR of lossless and of high-quality JPEG backgrounds,
//    and how many BackgroundCodec keeps lossless.
//  - 100 slides with ink on each exported as the annotated PDF, beside qpdf
//    copying the slides unchanged plus writing the ink layer alone; sizes
//    against the slides + 10 % + the ink.
#include "benchpicture.h"
#include "benchrounds.h"
#include "slidepdf.h"

#include "app/appstate.h"
#include "document/backgroundcodec.h"
#include "document/mainpage.h"
#include "document/objstroke.h"
#include "document/pagejobs.h"
#include "document/pagerenderer.h"
#include "document/pdfinkpainter.h"
#include "document/pdfsource.h"
#include "mainwindow/pageexporter.h"

#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

namespace {

constexpr int DesktopPages = 20;
constexpr int SlidePages = 100;

int resolution()
{
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInchX());
}

ObjectRecord scribble(QRandomGenerator &rng, const QSizeF &area)
{
    ObjStroke s;
    s.width = rng.bounded(2, 9);
    s.colour = QColor::fromRgb(rng.generate() | 0xff000000u);
    QPointF at(rng.bounded(area.width()), rng.bounded(area.height()));
    s.path.moveTo(at);
    for (int i = 1; i < 60; ++i) {
        at += QPointF(rng.bounded(20.0) - 10, rng.bounded(20.0) - 10);
        s.path.lineTo(at);
    }
    return ObjectRecord::of(&s);
}

// Something like a photograph shown full screen: soft discs of colour.
QImage photograph(const QSize &size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(seed * 17 % 360, 120, 200));
    QRandomGenerator rng(seed);
    QPainter painter(&image);
    for (int i = 0; i < 40; ++i) {
        QRadialGradient disc(QPointF(rng.bounded(size.width()), rng.bounded(size.height())),
                             rng.bounded(40, 200));
        disc.setColorAt(0, QColor::fromRgb(rng.generate() | 0xff000000u));
        disc.setColorAt(1, Qt::transparent);
        painter.fillRect(image.rect(), disc);
    }
    return image;
}

QList<PageRecord> pictures(const std::function<QImage(const QSize &, int)> &make)
{
    QList<PageRecord> pages;
    QRandomGenerator rng(5);
    for (int i = 0; i < DesktopPages; ++i) {
        PageRecord page;
        page.size = page.pixelSize = QSize(1920, 1080);
        page.background = MainPage::PictureBackground;
        page.picture = make(page.size, i);
        for (int s = 0; s < 30; ++s)
            page.objects.append(scribble(rng, page.size));
        pages.append(page);
    }
    return pages;
}

double timed(const std::function<bool()> &work)
{
    QElapsedTimer timer;
    timer.start();
    if (!work()) {
        std::fprintf(stderr, "an export failed\n");
        std::exit(1);
    }
    return timer.nsecsElapsed() / 1e6;
}

// The former PDF export: pages rendered on the workers, each drawn into the
// PDF as one picture, which Qt's PDF engine stores as JPEG.
QByteArray formerPdf(const QList<PageRecord> &pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(resolution());
    writer.setPageOrientation(QPageLayout::Landscape);
    PageJobs<QImage> jobs(int(pages.size()),
                          [pages](int i) { return PageRenderer::renderPage(pages.at(i)); });
    QPainter painter(&writer);
    const QRect viewport = painter.viewport();
    for (int i = 0; i < pages.size(); ++i) {
        const QImage picture = jobs.take(i).value_or(QImage());
        if (i > 0)
            writer.newPage();
        const QSize size = picture.size().scaled(viewport.size(), Qt::KeepAspectRatio);
        painter.drawImage(QRect(QPoint((viewport.width() - size.width()) / 2,
                                       (viewport.height() - size.height()) / 2),
                                size),
                          picture);
    }
    painter.end();
    return bytes;
}

// One background alone in a PDF, stored without loss or as JPEG.
QByteArray backgroundPdf(const QImage &picture, bool bLossless)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(resolution());
    writer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter(&writer);
    painter.setRenderHint(QPainter::LosslessImageRendering, bLossless);
    painter.drawImage(
        QRect(QPoint(), picture.size().scaled(painter.viewport().size(), Qt::KeepAspectRatio)),
        picture);
    painter.end();
    return bytes;
}

double psnr(const QImage &a, const QImage &b)
{
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            const int dr = qRed(p) - qRed(q), dg = qGreen(p) - qGreen(q), db = qBlue(p) - qBlue(q);
            sum += dr * dr + dg * dg + db * db;
        }
    }
    const double mse = sum / (3.0 * a.width() * a.height());
    return mse == 0 ? INFINITY : 10 * std::log10(255.0 * 255.0 / mse);
}

// The JPEG Qt's PDF engine would store, decoded again.
QImage asJpeg(const QImage &picture, qint64 *pBytes)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(94);
    writer.write(picture);
    *pBytes = bytes.size();
    return QImage::fromData(bytes).convertToFormat(QImage::Format_RGB32);
}

void backgroundChoice(const QList<PageRecord> &pages)
{
    qint64 flate = 0, jpeg = 0, png = 0, jpegAlone = 0;
    double worst = INFINITY, sum = 0, flateMs = 0, jpegMs = 0;
    int lossless = 0;
    for (const PageRecord &page : pages) {
        lossless += BackgroundCodec::keepsLossless(page.picture);
        QElapsedTimer timer;
        timer.start();
        flate += backgroundPdf(page.picture, true).size();
        flateMs += timer.nsecsElapsed() / 1e6;
        timer.restart();
        jpeg += backgroundPdf(page.picture, false).size();
        jpegMs += timer.nsecsElapsed() / 1e6;
        png += PageExporter::encode(page.picture, QStringLiteral("png")).size();
        qint64 bytes = 0;
        const double db = psnr(page.picture, asJpeg(page.picture, &bytes));
        jpegAlone += bytes;
        worst = std::min(worst, db);
        sum += db;
    }
    std::printf("  backgrounds alone, one thread: PNG %lld KiB; in the PDF lossless (Flate) %lld "
                "KiB in %.0f ms, PSNR infinite; JPEG %lld KiB (%lld KiB of JPEG) in %.0f ms, "
                "PSNR %.1f dB mean, %.1f dB worst; kept lossless: %d of %lld\n",
                png / 1024, flate / 1024, flateMs, jpeg / 1024, jpegAlone / 1024, jpegMs,
                sum / pages.size(), worst, lossless, qint64(pages.size()));
}

bool vectorPdf(const QString &folder, const char *kind, const QList<PageRecord> &pages)
{
    const QString file = folder + QStringLiteral("/vector.pdf");
    qint64 former = 0;
    BenchRounds rounds;
    rounds.add("vector PDF", [&] {
        return timed([&] {
            PageExporter exporter(pages);
            return exporter.exportPdf(file);
        });
    });
    rounds.add("former PDF, pages as JPEG", [&] {
        return timed([&] {
            former = formerPdf(pages).size();
            return former > 0;
        });
    });
    rounds.run();
    std::printf("PDF export, %d full-HD %s with 30 strokes each\n", DesktopPages, kind);
    rounds.print("vector PDF");
    rounds.print("former PDF, pages as JPEG");
    const bool fast = rounds.printRatio("vector PDF", "former PDF, pages as JPEG", 1.0);
    const qint64 size = QFileInfo(file).size();
    std::printf("  sizes: vector %lld KiB, former %lld KiB (ratio %.2f, target below 1: %s)\n",
                size / 1024, former / 1024, double(size) / double(former),
                size < former ? "met" : "NOT met");
    backgroundChoice(pages);
    return fast && size < former;
}

// The ink layer alone, as the annotated export writes it.
QByteArray inkLayer(const QList<PageRecord> &pages)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(resolution());
    const QSizeF points(SlidePdf::Width, SlidePdf::Height);
    writer.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0)
            writer.newPage();
        PdfInkPainter::paintInk(painter, pages.at(i));
    }
    painter.end();
    return bytes;
}

bool copiedByQpdf(const QString &strIn, const QString &strOut)
{
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), { strIn, strOut });
    return qpdf.waitForFinished(60000) && qpdf.exitCode() == 0;
}

bool annotatedPdf(const QString &folder)
{
    const QByteArray slides = SlidePdf::make(SlidePages, QStringLiteral("Lesson slide"));
    const std::shared_ptr<PdfSource> source = PdfSource::open(slides, QString());
    if (!source)
        return false;
    const QString original = folder + QStringLiteral("/slides.pdf");
    QFile file(original);
    file.open(QIODevice::WriteOnly);
    file.write(slides);
    file.close();
    QList<PageRecord> pages;
    QRandomGenerator rng(9);
    for (int i = 0; i < SlidePages; ++i) {
        PageRecord page;
        page.size = page.pixelSize = QSize(1920, 1080);
        page.background = MainPage::PdfBackground;
        page.pdf = source;
        page.pdfPage = i;
        for (int s = 0; s < 30; ++s)
            page.objects.append(scribble(rng, page.size));
        pages.append(page);
    }
    const QString out = folder + QStringLiteral("/annotated.pdf");
    qint64 ink = 0;
    BenchRounds rounds;
    rounds.add("annotated export", [&] {
        return timed([&] {
            PageExporter exporter(pages);
            return exporter.exportPdf(out);
        });
    });
    rounds.add("qpdf copy + ink layer alone", [&] {
        return timed([&] {
            ink = inkLayer(pages).size();
            return copiedByQpdf(original, folder + QStringLiteral("/copy.pdf"));
        });
    });
    rounds.run();
    std::printf("Annotated PDF, %d slides with 30 strokes each\n", SlidePages);
    rounds.print("annotated export");
    rounds.print("qpdf copy + ink layer alone");
    const bool fast = rounds.printRatio("annotated export", "qpdf copy + ink layer alone", 1.0);
    const qint64 size = QFileInfo(out).size();
    const double bound = slides.size() * 1.1 + ink;
    std::printf("  sizes: annotated %lld KiB, slides %lld KiB, ink %lld KiB; at most slides + "
                "10 %% + ink (%.0f KiB): %s\n",
                size / 1024, qint64(slides.size()) / 1024, ink / 1024, bound / 1024,
                size <= bound ? "met" : "NOT met");
    return fast && size <= bound;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    AppState::instance().tempFolder = folder.path() + QLatin1Char('/');
    const bool desktops = vectorPdf(folder.path(), "captured desktops", pictures(makePicture));
    const bool photographs = vectorPdf(folder.path(), "photographs", pictures(photograph));
    const bool annotated = annotatedPdf(folder.path());
    return desktops && photographs && annotated ? 0 : 1;
}
