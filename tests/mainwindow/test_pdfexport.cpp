#include "app/appstate.h"
#include "commandoutput.h"
#include "document/mainpage.h"
#include "document/obj.h"
#include "document/objeraser.h"
#include "document/objstroke.h"
#include "document/objtext.h"
#include "document/pagerenderer.h"
#include "document/pdfsource.h"
#include "mainwindow/pageexporter.h"
#include "slidepdf.h"
#include "testenvironment.h"

#include <QDir>
#include <QFileInfo>
#include <QTextDocument>
#include <QtTest>

#include <memory>

namespace {

const QColor Ink(200, 20, 20);

ObjectRecord stroke(const QPointF &from, const QPointF &to)
{
    ObjStroke pen;
    pen.strokeKind = ObjStroke::Pen;
    pen.width = 10;
    pen.colour = Ink;
    pen.path.moveTo(from);
    pen.path.lineTo(to);
    return ObjectRecord::of(&pen);
}

// A page of `size` logical pixels showing page `index` of `pdf`.
PageRecord pdfPage(const std::shared_ptr<PdfSource> &pdf, int index, const QSize &size,
                   qreal ratio = 1)
{
    PageRecord page;
    page.size = size;
    page.pixelRatio = ratio;
    page.pixelSize = size * ratio;
    page.background = MainPage::PdfBackground;
    page.pdf = pdf;
    page.pdfPage = index;
    return page;
}

// How many pixels differ by more than a little in any channel: text edges
// are smoothed differently by the two renderers.
int differing(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return a.width() * a.height();
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int count = 0;
    for (int row = 0; row < x.height(); ++row) {
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            if (qAbs(qRed(p) - qRed(q)) > 64 || qAbs(qGreen(p) - qGreen(q)) > 64
                || qAbs(qBlue(p) - qBlue(q)) > 64)
                ++count;
        }
    }
    return count;
}

bool near(const QColor &a, const QColor &b, int tolerance)
{
    return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
        && qAbs(a.blue() - b.blue()) <= tolerance;
}

} // namespace

// The PDF export: pages that show a PDF go out as that PDF's own pages,
// text and vector art untouched, with the drawings as vectors over them;
// every other page as vectors over a lossless picture.
class TestPdfExport : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::shared_ptr<PdfSource> slides;

    QString path(const QString &strName) const { return env->path(strName); }

    QString exported(const QList<PageRecord> &pages)
    {
        const QString pdf = path(QStringLiteral("out.pdf"));
        PageExporter exporter(pages);
        if (!exporter.exportPdf(pdf))
            qWarning() << exporter.errorString();
        return QFile::exists(pdf) ? pdf : QString();
    }

    // Page `number` of `strPdf` as poppler renders it at `dpi`.
    QImage shown(const QString &strPdf, int number, int dpi)
    {
        const QString prefix = path(QStringLiteral("shown%1").arg(number));
        commandOutput(QStringLiteral("pdftoppm"),
                      { QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-r"),
                        QString::number(dpi), QStringLiteral("-f"), QString::number(number),
                        QStringLiteral("-l"), QString::number(number), strPdf, prefix });
        return QImage(prefix + QLatin1String(".png"));
    }

    // pdfimages -list rows: page, type, width, height, ..., encoding.
    QList<QStringList> images(const QString &strPdf)
    {
        const QStringList lines
            = QString::fromUtf8(
                  commandOutput(QStringLiteral("pdfimages"), { QStringLiteral("-list"), strPdf }))
                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                  .mid(2);
        QList<QStringList> rows;
        for (const QString &line : lines)
            rows.append(line.split(QLatin1Char(' '), Qt::SkipEmptyParts));
        return rows;
    }

    QString text(const QString &strPdf)
    {
        return QString::fromUtf8(
            commandOutput(QStringLiteral("pdftotext"), { strPdf, QStringLiteral("-") }));
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(AppState::instance().tempFolder = path(QStringLiteral("temp/")));
        slides = PdfSource::open(SlidePdf::make(3, QStringLiteral("Photosynthesis")), QString());
        QVERIFY(slides);
    }

    void cleanup()
    {
        slides.reset();
        env.reset();
    }

    // The slide's own text, art and picture stay what they were; the ink
    // lies where the canvas shows it, as paths.
    void slidesKeepTheirContentUnderTheInk()
    {
        PageRecord first = pdfPage(slides, 0, QSize(800, 450));
        ObjStroke marker;
        marker.strokeKind = ObjStroke::Highlighter;
        marker.width = 30;
        marker.colour = QColor(255, 230, 0);
        marker.path.moveTo(560, 300);
        marker.path.lineTo(760, 300);
        first.objects = { stroke(QPointF(100, 200), QPointF(700, 200)), ObjectRecord::of(&marker) };
        // Wider than the slide: shown with bars above and below, at two
        // device pixels per logical pixel.
        PageRecord second = pdfPage(slides, 1, QSize(400, 300), 2);
        second.objects = { stroke(QPointF(50, 100), QPointF(350, 100)) };
        const QString pdf = exported({ first, second });
        QVERIFY(!pdf.isEmpty());

        const QString words = text(pdf);
        QVERIFY2(words.contains(QLatin1String("Photosynthesis 1"))
                     && words.contains(QLatin1String("Photosynthesis 2")),
                 qPrintable(words));
        // Only the slides' own small picture; no page went out as a picture.
        const QList<QStringList> rows = images(pdf);
        QVERIFY(!rows.isEmpty());
        for (const QStringList &row : rows)
            QVERIFY2(row.value(3).toInt() <= 32 && row.value(4).toInt() <= 32,
                     qPrintable(row.join(QLatin1Char(' '))));

        // 720 points at 80 dpi are the 800 device pixels the page shows.
        const QImage one = shown(pdf, 1, 80);
        QCOMPARE(one.size(), QSize(800, 450));
        QVERIFY(near(one.pixelColor(400, 200), Ink, 40));
        QVERIFY(near(one.pixelColor(400, 215), Qt::white, 8));
        QCOMPARE(one.pixelColor(560, 250), SlidePdf::Disc);
        // The highlighter lets the disc show through.
        const QColor marked = PageRenderer::renderPage(first).pixelColor(600, 300);
        QVERIFY(marked != SlidePdf::Disc && marked != marker.colour);
        QVERIFY(near(one.pixelColor(600, 300), marked, 12));
        QVERIFY2(differing(one, PageRenderer::renderPage(first)) < 800 * 450 / 50,
                 "page 1 differs from the canvas");

        const QImage two = shown(pdf, 2, 80);
        QCOMPARE(two.size(), QSize(800, 450));
        const QImage canvas = PageRenderer::renderPage(second).copy(0, 75, 800, 450);
        QVERIFY(near(two.pixelColor(400, 125), Ink, 40));
        QVERIFY2(differing(two, canvas) < 800 * 450 / 50, "page 2 differs from the canvas");
    }

    // An inserted picture goes out without loss over the slide; the same PDF
    // opened twice is copied once.
    void picturesAndRepeatedSources()
    {
        QImage photo(40, 40, QImage::Format_RGB32);
        photo.fill(QColor(0, 128, 255));
        ObjectRecord picture;
        picture.kind = KindImageStatic;
        picture.rect = QRectF(300, 250, 80, 80);
        picture.centre = picture.rect.center();
        picture.image = photo;
        const QByteArray bytes = SlidePdf::make(3, QStringLiteral("Stomata"));
        const std::shared_ptr<PdfSource> again = PdfSource::open(bytes, QString());
        const std::shared_ptr<PdfSource> once = PdfSource::open(bytes, QString());
        QVERIFY(again && once);
        PageRecord first = pdfPage(once, 0, QSize(800, 450));
        first.objects = { picture };
        const qint64 single
            = QFileInfo(exported({ first, pdfPage(once, 1, QSize(800, 450)) })).size();
        const QString pdf = exported({ first, pdfPage(again, 1, QSize(800, 450)) });
        QVERIFY(!pdf.isEmpty());
        QVERIFY2(
            QFileInfo(pdf).size() < single * 1.05,
            qPrintable(QStringLiteral("%1 against %2").arg(QFileInfo(pdf).size()).arg(single)));
        bool found = false;
        for (const QStringList &row : images(pdf))
            found = found
                || (row.value(3) == QLatin1String("40") && row.value(8) == QLatin1String("image"));
        QVERIFY(found);
        QCOMPARE(shown(pdf, 1, 80).pixelColor(340, 290), QColor(0, 128, 255));
        QVERIFY(text(pdf).contains(QLatin1String("Stomata 2")));
    }

    // An inserted drawing keeps its paths: it is no picture in the PDF.
    void svgPicturesAsVectors()
    {
        const QString file = path(QStringLiteral("diagram.svg"));
        QVERIFY(writeFile(file,
                          "<svg xmlns='http://www.w3.org/2000/svg' width='200' height='100'>"
                          "<rect x='0' y='0' width='200' height='100' fill='#2060c0'/>"
                          "<circle cx='150' cy='50' r='30' fill='white'/></svg>"));
        ObjectRecord drawing;
        drawing.kind = KindImageSVG;
        drawing.rect = QRectF(100, 100, 200, 100);
        drawing.centre = drawing.rect.center();
        drawing.file = file;
        PageRecord page = pdfPage(slides, 0, QSize(800, 450));
        page.objects = { drawing };
        const QString pdf = exported({ page });
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(shown(pdf, 1, 80).pixelColor(110, 110), QColor(0x20, 0x60, 0xc0));
        for (const QStringList &row : images(pdf))
            QVERIFY2(row.value(3).toInt() <= 32, qPrintable(row.join(QLatin1Char(' '))));
    }

    // A page turned by the PDF: the ink keeps to the page as it is shown.
    void rotatedSourcePage()
    {
        const QByteArray turned = SlidePdf::transformed(SlidePdf::make(1, QStringLiteral("Turned")),
                                                        { QStringLiteral("--rotate=+90") });
        const std::shared_ptr<PdfSource> source = PdfSource::open(turned, QString());
        QVERIFY(source);
        QCOMPARE(source->pageSize(0).toSize(), QSize(405, 720));
        PageRecord page = pdfPage(source, 0, QSize(450, 800));
        page.objects = { stroke(QPointF(40, 60), QPointF(300, 60)) };
        const QString pdf = exported({ page });
        QVERIFY(!pdf.isEmpty());
        const QImage image = shown(pdf, 1, 80);
        QCOMPARE(image.size(), QSize(450, 800));
        QVERIFY(near(image.pixelColor(200, 60), Ink, 40));
        QVERIFY2(differing(image, PageRenderer::renderPage(page)) < 450 * 800 / 50,
                 "the turned page differs from the canvas");
        QVERIFY(text(pdf).contains(QLatin1String("Turned 1")));
    }

    // Opened with its password; the handout opens without one.
    void passwordSource()
    {
        const QByteArray locked = SlidePdf::transformed(
            SlidePdf::make(2, QStringLiteral("Locked")),
            { QStringLiteral("--encrypt"), QStringLiteral("pupil"), QStringLiteral("teacher"),
              QStringLiteral("256"), QStringLiteral("--") });
        QVERIFY(!locked.isEmpty());
        const std::shared_ptr<PdfSource> source = PdfSource::open(locked, QStringLiteral("pupil"));
        QVERIFY(source);
        PageRecord page = pdfPage(source, 1, QSize(800, 450));
        page.objects = { stroke(QPointF(100, 300), QPointF(600, 300)) };
        const QString pdf = exported({ page });
        QVERIFY(!pdf.isEmpty());
        QVERIFY(text(pdf).contains(QLatin1String("Locked 2")));
        QVERIFY(near(shown(pdf, 1, 80).pixelColor(300, 300), Ink, 40));
    }

    // An eraser clears only the layer: that page's layer goes out as one
    // transparent picture over the still untouched slide.
    void erasedLayerAsPicture()
    {
        ObjEraser eraser;
        eraser.width = 40;
        eraser.appendSegment(QPointF(400, 150), QPointF(400, 250));
        PageRecord page = pdfPage(slides, 0, QSize(800, 450));
        page.objects = { stroke(QPointF(100, 200), QPointF(700, 200)), ObjectRecord::of(&eraser) };
        const QString pdf = exported({ page });
        QVERIFY(!pdf.isEmpty());
        const QImage image = shown(pdf, 1, 80);
        QVERIFY(near(image.pixelColor(200, 200), Ink, 40));
        QVERIFY(near(image.pixelColor(400, 200), Qt::white, 8));
        QVERIFY(differing(image, PageRenderer::renderPage(page)) < 800 * 450 / 50);
        QVERIFY(text(pdf).contains(QLatin1String("Photosynthesis 1")));
        int layers = 0;
        for (const QStringList &row : images(pdf))
            layers += row.value(3).toInt() == 800 && row.value(4).toInt() == 450;
        QCOMPARE(layers, 2); // the picture and its transparency
    }

    // Pages of other documents: a captured screen without loss, a photograph
    // as JPEG, the drawings as vectors, text as text.
    void picturePagesAsVectors()
    {
        QImage desktop(640, 400, QImage::Format_RGB32);
        desktop.fill(QColor(236, 236, 236));
        QPainter(&desktop).fillRect(0, 0, 640, 32, QColor(40, 60, 90));
        ObjText note;
        note.document = new QTextDocument;
        note.document->setPlainText(QStringLiteral("Chlorophyll absorbs light"));
        note.rect = QRectF(60, 200, 400, 60);
        PageRecord page;
        page.size = page.pixelSize = desktop.size();
        page.background = MainPage::PictureBackground;
        page.picture = desktop;
        page.objects = { stroke(QPointF(60, 120), QPointF(580, 120)), ObjectRecord::of(&note) };
        // A photograph shown full screen: without loss it would take many
        // times the room of a high-quality JPEG.
        PageRecord photo = page;
        QPainter painter(&photo.picture);
        for (int i = 0; i < 12; ++i) {
            QRadialGradient disc(QPointF(50 * i, 35 * i), 120 + 10 * i);
            disc.setColorAt(0, QColor::fromHsv(30 * i, 200, 220));
            disc.setColorAt(1, Qt::transparent);
            painter.fillRect(photo.picture.rect(), disc);
        }
        painter.end();
        const QString pdf = exported({ page, page, photo });
        QVERIFY(!pdf.isEmpty());
        QCOMPARE(text(pdf).count(QLatin1String("Chlorophyll absorbs light")), 3);
        QStringList encodings;
        for (const QStringList &row : images(pdf)) {
            QCOMPARE(row.value(2), QStringLiteral("image"));
            encodings.append(row.value(8));
        }
        QCOMPARE(encodings,
                 QStringList(
                     { QStringLiteral("image"), QStringLiteral("image"), QStringLiteral("jpeg") }));
        const QImage image = shown(pdf, 1, 40);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x)
                inked += near(image.pixelColor(x, y), Ink, 40);
        }
        QVERIFY(inked > 100);
    }
};

QTEST_MAIN(TestPdfExport)
#include "test_pdfexport.moc"
