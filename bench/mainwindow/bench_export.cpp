// Exporting 20 full-HD pages (distinct picture backgrounds with drawings) to a
// PDF and to a ZIP of PNG pictures, beside the raw cost of the same work:
// rendering the pages and drawing them into a QPdfWriter, or rendering them
// and encoding each as PNG.
#include "../document/benchtimer.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "document/addcommand.h"
#include "document/mainpage.h"
#include "document/objstroke.h"
#include "mainwindow/pageexporter.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int PageCount = 20;
const QSize FullHd(1920, 1080);

// A photograph-like picture: a gradient sky and soft discs, different per page.
QPixmap background(int index, QRandomGenerator &rng)
{
    QImage image(FullHd, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, 0, FullHd.height());
    sky.setColorAt(0, QColor::fromHsv(index * 17 % 360, 120, 240));
    sky.setColorAt(1, QColor::fromHsv((index * 17 + 90) % 360, 200, 90));
    painter.fillRect(image.rect(), sky);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int i = 0; i < 40; ++i) {
        QRadialGradient disc(QPointF(rng.bounded(1920), rng.bounded(1080)), rng.bounded(40, 200));
        disc.setColorAt(0, QColor::fromRgb(rng.generate() | 0xff000000u));
        disc.setColorAt(1, Qt::transparent);
        painter.fillRect(image.rect(), disc);
    }
    return QPixmap::fromImage(image);
}

void addDrawings(MainView &view, QRandomGenerator &rng)
{
    for (int i = 0; i < 30; ++i) {
        auto *stroke = new ObjStroke;
        stroke->width = rng.bounded(3, 12);
        stroke->colour = QColor::fromRgb(rng.generate() | 0xff000000u);
        QPointF at(rng.bounded(1920), rng.bounded(1080));
        stroke->path.moveTo(at);
        for (int j = 0; j < 40; ++j) {
            at += QPointF(rng.bounded(40.0) - 20, rng.bounded(40.0) - 20);
            stroke->path.lineTo(at);
        }
        view.pushCommand(new AddCommand(&view, stroke));
    }
}

double rawPdfMs(const MainView &view)
{
    return medianMs(3, [&] {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(96);
        writer.setPageOrientation(QPageLayout::Landscape);
        QPainter painter(&writer);
        const QRect viewport = painter.viewport();
        for (int i = 0; i < view.pageCount(); ++i) {
            if (i > 0)
                writer.newPage();
            const QImage picture = view.renderPage(view.pageList().at(i));
            painter.drawImage(
                QRect(QPoint(), picture.size().scaled(viewport.size(), Qt::KeepAspectRatio)),
                picture);
        }
    });
}

double rawPngMs(const MainView &view)
{
    return medianMs(3, [&] {
        for (int i = 0; i < view.pageCount(); ++i) {
            QBuffer buffer;
            buffer.open(QIODevice::WriteOnly);
            view.renderPage(view.pageList().at(i)).save(&buffer, "PNG");
        }
    });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir folder;
    AppState::instance().tempFolder = folder.path() + QLatin1Char('/');
    QRandomGenerator rng(11);
    MainView view;
    for (int i = 0; i < PageCount; ++i) {
        view.newPage();
        view.currentPage()->size = FullHd;
        view.currentPage()->setPixels(FullHd, 1.0);
        view.setBackground(background(i, rng));
        addDrawings(view, rng);
    }

    PageExporter exporter(&view);
    const QString pdf = folder.filePath(QStringLiteral("pages.pdf"));
    const QString zip = folder.filePath(QStringLiteral("pages.zip"));
    bool ok = true;
    const double pdfMs = medianMs(3, [&] { ok = exporter.exportPdf(pdf) && ok; });
    const double pdfRaw = rawPdfMs(view);
    const double zipMs
        = medianMs(3, [&] { ok = exporter.exportImages(zip, QStringLiteral("png"), false) && ok; });
    const double zipRaw = rawPngMs(view);
    if (!ok) {
        std::printf("export failed: %s\n", qPrintable(exporter.errorString()));
        return 1;
    }
    std::printf("%d full-HD pages, median of 3\n", PageCount);
    std::printf(
        "PDF export      %8.1f ms  render + QPdfWriter %8.1f ms  ratio %.2f (target 1.20)\n", pdfMs,
        pdfRaw, pdfMs / pdfRaw);
    std::printf(
        "ZIP of PNG      %8.1f ms  render + PNG encode %8.1f ms  ratio %.2f (target 1.15)\n", zipMs,
        zipRaw, zipMs / zipRaw);
    std::printf("file sizes      PDF %lld KiB, ZIP %lld KiB\n", QFileInfo(pdf).size() / 1024,
                QFileInfo(zip).size() / 1024);
    return 0;
}
