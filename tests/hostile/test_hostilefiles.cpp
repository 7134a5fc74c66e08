#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "commandwaits.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"
#include "document/mainpage.h"
#include "document/safeimagereader.h"
#include "mainwindow/documentcommands.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "pageimages.h"
#include "testenvironment.h"

#include <QPainter>
#include <QSvgRenderer>
#include <QtTest>

#include <cstdio>
#include <memory>

namespace {

const QByteArray SvgHead = "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" ";

QByteArray svgWithImage(const QByteArray &href)
{
    return SvgHead
        + "width=\"200\" height=\"100\"><rect width=\"200\" height=\"100\" "
          "fill=\"blue\"/><image width=\"100\" height=\"100\" xlink:href=\""
        + href + "\"/></svg>";
}

QByteArray pngBytes(const QSize &size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "png");
    return bytes;
}

QByteArray dataUri(const QByteArray &bytes, const char *type = "image/png")
{
    return "data:" + QByteArray(type) + ";base64," + bytes.toBase64();
}

} // namespace

// Pictures and export targets made to hurt; every file is written by the test.
class TestHostileFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    DocumentCommands *commands = nullptr;

    MainView *view() const { return window->view(); }
    QString path(const QString &strName) const { return env->path(strName); }
    QString write(const QString &strName, const QByteArray &bytes) const
    {
        return writeFile(path(strName), bytes) ? path(strName) : QString();
    }
    QList<ObjImage *> images() const { return pageImages(view()); }
    void addPage()
    {
        view()->newPage();
        QPixmap picture(view()->currentPage()->size);
        picture.fill(Qt::yellow);
        view()->setBackground(picture);
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        commands = new DocumentCommands(window.get());
        AppState::instance().homePath = env->path(QString());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    // It used to recurse into itself until the stack ran out, whatever its name.
    void selfReferencingSvgIsRefusedEverywhere()
    {
        const QString svg = write(QStringLiteral("self.svg"), svgWithImage("self.svg"));
        const QString png = write(QStringLiteral("self.png"), svgWithImage("self.png"));
        ModalAnswerer watcher;
        QVERIFY(opened(commands, { svg, png }, false));
        QCOMPARE(view()->document().pageCount(), 0);
        QCOMPARE(watcher.texts.size(), 1);
        QVERIFY2(watcher.texts[0].startsWith(QStringLiteral("Some pictures could not be opened.")),
                 qPrintable(watcher.texts[0]));
        QCOMPARE(watcher.texts[0].count(QStringLiteral("refers to other files")), 2);

        addPage();
        QVERIFY(!commands->InsertImageFile(QPointF(), view()->currentPage()->size, svg, true));
        QVERIFY(!commands->InsertImageFile(QPointF(), view()->currentPage()->size, png, true));
        QCOMPARE(watcher.texts.size(), 3);
        QVERIFY(watcher.texts[2].startsWith(QStringLiteral("The picture could not be inserted.")));
        QVERIFY(images().isEmpty());

        ImageSVG direct(QRectF(0, 0, 10, 10));
        direct.load(svg);
        QVERIFY(!direct.renderer);
        QVERIFY(SafeImageReader::read(png).isNull());
    }

    // A picture from someone else must not show the user's other files:
    // only embedded pictures are drawn.
    void svgNeverReadsOtherFiles()
    {
        const QString secret = write(QStringLiteral("secret.png"), pngBytes({ 50, 50 }, Qt::red));
        const QString css = write(QStringLiteral("style.css"), "rect { fill: red; }");
        QDir().mkpath(path(QStringLiteral("sub")));
        const QList<QByteArray> outside = {
            secret.toUtf8(),
            "../secret.png",
            "file://" + secret.toUtf8(),
            " data:x;base64,AA",
            "DATA:image/png;base64," + pngBytes({ 5, 5 }, Qt::red).toBase64(),
            dataUri(svgWithImage(secret.toUtf8()), "image/svg+xml"),
        };
        for (const QByteArray &href : outside) {
            const QString file = write(QStringLiteral("sub/hostile.svg"), svgWithImage(href));
            const SafeImageReader::Header header = SafeImageReader::inspect(file);
            QVERIFY2(header.check.verdict != SvgCheck::Sound, href.constData());
            ImageSVG image(QRectF(0, 0, 10, 10));
            image.load(file);
            QVERIFY2(!image.renderer, href.constData());
        }
        const QString sheet
            = write(QStringLiteral("sheet.svg"),
                    "<?xml-stylesheet type=\"text/css\" href=\"" + css.toUtf8() + "\"?>"
                        + svgWithImage(dataUri(pngBytes({ 4, 4 }, Qt::green))));
        QCOMPARE(SafeImageReader::inspect(sheet).check.verdict, SvgCheck::OutsideReference);

        // Embedded pictures are drawn.
        const QString embedded = write(QStringLiteral("embedded.svg"),
                                       svgWithImage(dataUri(pngBytes({ 40, 40 }, Qt::green))));
        ImageSVG image(QRectF(0, 0, 10, 10));
        image.load(embedded);
        QVERIFY(image.renderer);
        QImage canvas(200, 100, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        image.paint(&painter);
        painter.end();
        QCOMPARE(canvas.pixelColor(50, 50), QColor(Qt::green));
        QCOMPARE(canvas.pixelColor(150, 50), QColor(Qt::blue));

        QByteArray deep = SvgHead + "width=\"10\" height=\"10\">";
        deep += QByteArray("<g>").repeated(SvgCheck::MaxDepth)
            + QByteArray("</g>").repeated(SvgCheck::MaxDepth) + "</svg>";
        QCOMPARE(SvgCheck::check(deep, SafeImageReader::MaxImageBytes).verdict, SvgCheck::TooDeep);
    }

    // One budget for a picture: its pixels and those it embeds, the bytes of
    // its file, and the cost of a repaint.
    void pictureBudgetHoldsForEveryPath()
    {
        addPage();
        const QSize page = view()->currentPage()->size;
        // Embedded pictures of 4000 x 4000: 64 MB each decoded, five pass the budget.
        const QByteArray big = pngBytes({ 4000, 4000 }, Qt::darkGreen);
        QByteArray many = SvgHead + "width=\"400\" height=\"400\">";
        for (int i = 0; i < 5; ++i)
            many += "<image width=\"40\" height=\"40\" xlink:href=\"" + dataUri(big) + "\"/>";
        many += "</svg>";
        const QString crowded = write(QStringLiteral("crowded.svg"), many);
        QCOMPARE(SafeImageReader::inspect(crowded).check.verdict, SvgCheck::TooManyPixels);
        ModalAnswerer watcher;
        QVERIFY(!commands->InsertImageFile(QPointF(), page, crowded, true));
        QCOMPARE(watcher.texts.size(), 1);
        QVERIFY(watcher.texts[0].startsWith(QStringLiteral("The picture is too large to insert.")));

        // A small picture followed by far more bytes than any picture needs.
        const QString padded = path(QStringLiteral("padded.png"));
        QVERIFY(writeFile(padded, pngBytes({ 100, 100 }, Qt::red)));
        QFile grow(padded);
        QVERIFY(grow.open(QIODevice::ReadWrite) && grow.resize(SafeImageReader::MaxFileBytes + 1));
        grow.close();
        QVERIFY(!commands->InsertImageFile(QPointF(), page, padded, true));
        QCOMPARE(watcher.texts.size(), 2);
        QVERIFY2(watcher.texts[1].contains(QStringLiteral("the largest picture file accepted")),
                 qPrintable(watcher.texts[1]));
        QVERIFY(SafeImageReader::read(padded).isNull());
        QVERIFY(!QFile::exists(AppState::instance().tempFolder + QStringLiteral("padded.png")));

        // A huge, detailed SVG is rendered once at its shown size; repaints
        // draw that picture.
        QByteArray paths = SvgHead + "width=\"16384\" height=\"16384\">";
        for (int i = 0; i < 2000; ++i)
            paths += "<path fill=\"#" + QByteArray::number(0x100000 + i * 37, 16) + "\" d=\"M"
                + QByteArray::number(i * 8) + " 0 L16384 " + QByteArray::number(i * 8) + " L"
                + QByteArray::number(16384 - i * 8) + " 16384 Z\"/>";
        paths += "</svg>";
        const QString detailed = write(QStringLiteral("detailed.svg"), paths);
        QVERIFY(commands->InsertImageFile(QPointF(), page, detailed, true));
        QCOMPARE(watcher.texts.size(), 2);
        auto *svg = dynamic_cast<ImageSVG *>(images().last());
        QVERIFY(svg && svg->renderer);
        const auto paintedPage = [&] {
            QImage canvas(page, QImage::Format_ARGB32_Premultiplied);
            canvas.fill(Qt::white);
            QPainter painter(&canvas);
            svg->paint(&painter);
            return canvas;
        };
        const QImage first = paintedPage();
        // With the document gone from the renderer, only the kept picture
        // can paint it again.
        svg->renderer->load(QByteArray());
        QCOMPARE(paintedPage(), first);
        QCOMPARE(ImageSVG::cacheSize(QTransform::fromScale(4, 4), QSizeF(16384, 16384)),
                 QSize(4096, 4096));
    }

    // Files that give no picture used to open as a blank page or an
    // invisible picture without a word: each is told, and nothing is added.
    void picturesThatGiveNothingAreTold()
    {
        QByteArray cut = pngBytes({ 300, 200 }, Qt::red);
        cut.truncate(cut.size() / 2);
        const QList<QPair<QString, QString>> files = {
            { write(QStringLiteral("empty.png"), QByteArray()), QStringLiteral("is empty") },
            { write(QStringLiteral("noise.png"), QByteArray(3000, '\x5a')),
              QStringLiteral("not a picture that can be read") },
            { write(QStringLiteral("cut.png"), cut),
              QStringLiteral("not a picture that can be read") },
            { write(QStringLiteral("wide.svg"), SvgHead + "width=\"20000\" height=\"10\"/>"),
              QStringLiteral("at most 16384 pixels a side") },
            { write(QStringLiteral("sizeless.svg"), SvgHead + "width=\"0\" height=\"0\"/>"),
              QStringLiteral("not a picture that can be read") },
            { path(QStringLiteral("gone.png")), QStringLiteral("cannot be read") },
            { path(QStringLiteral("folder.png")),
              QStringLiteral("not a picture that can be read") },
            { QString::fromLocal8Bit(QFile::encodeName(path(QStringLiteral("caf"))) + "\xe9.png"),
              QStringLiteral("is not valid UTF-8") },
        };
        QVERIFY(QDir().mkpath(path(QStringLiteral("folder.png"))));
        // A picture whose name has a byte that is not UTF-8, as another
        // system wrote it.
        const QByteArray latin1Name = QFile::encodeName(path(QStringLiteral("caf"))) + "\xe9.png";
        const QByteArray red = pngBytes({ 30, 20 }, Qt::red);
        std::FILE *named = std::fopen(latin1Name.constData(), "wb");
        QVERIFY(named);
        QCOMPARE(std::fwrite(red.constData(), 1, size_t(red.size()), named), size_t(red.size()));
        QCOMPARE(std::fclose(named), 0);
        ModalAnswerer watcher;
        for (const auto &[file, why] : files) {
            QVERIFY(opened(commands, { file }, false));
            QCOMPARE(view()->document().pageCount(), 0);
            QVERIFY2(watcher.texts.last().contains(QFileInfo(file).fileName() + QLatin1Char(' '))
                         && watcher.texts.last().contains(why),
                     qPrintable(watcher.texts.last()));
        }
        addPage();
        for (const auto &[file, why] : files) {
            const int told = int(watcher.texts.size());
            QVERIFY(!commands->InsertImageFile(QPointF(), view()->currentPage()->size, file, true));
            QVERIFY(images().isEmpty());
            QVERIFY2(watcher.texts.size() == told + (QFileInfo(file).isFile() ? 1 : 0),
                     qPrintable(file));
        }
        QCOMPARE(view()->document().pageCount(), 1);
    }
};

QTEST_MAIN(TestHostileFiles)
#include "test_hostilefiles.moc"
