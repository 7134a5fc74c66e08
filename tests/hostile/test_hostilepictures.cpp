#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/documentreader.h"
#include "document/documentwriter.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"
#include "document/mainpage.h"
#include "document/objectcodec.h"
#include "document/objectrecord.h"
#include "document/safeimagereader.h"
#include "document/svgcheck.h"
#include "mainwindow/documentcommands.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "testenvironment.h"
#include "zippedbytes.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPixmap>
#include <QSvgRenderer>
#include <QtEndian>
#include <QtTest>

#include <memory>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace {

using Entries = QList<QPair<QString, QByteArray>>;

QByteArray fixture(const char *name)
{
    return readFile(QStringLiteral(TAV_TEST_DATA "/hostile/") + QLatin1String(name));
}

QByteArray little16(int v)
{
    QByteArray out(2, 0);
    qToLittleEndian<quint16>(quint16(v), out.data());
    return out;
}

// A GIF of one black pixel at (left, top) on a logical screen of `screen`.
QByteArray gif(const QSize &screen, const QPoint &at = QPoint())
{
    QByteArray out = "GIF89a" + little16(screen.width()) + little16(screen.height());
    out += QByteArray::fromHex("800000000000ffffff2c");
    out += little16(at.x()) + little16(at.y()) + little16(1) + little16(1);
    return out + QByteArray::fromHex("000202440100") + ";";
}

QByteArray encoded(const QImage &image, const char *format = "png")
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray png(const QSize &size, const QColor &colour = Qt::darkCyan)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    return encoded(image);
}

QByteArray svgWith(const QByteArray &picture, const char *type = "image/gif")
{
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"40\" height=\"40\">"
           "<image width=\"40\" height=\"40\" xlink:href=\"data:"
        + QByteArray(type) + ";base64," + picture.toBase64() + "\"/></svg>";
}

QJsonObject object(int kind, const QString &picture, const QRectF &rect = QRectF(0, 0, 40, 30))
{
    ObjectRecord r;
    r.kind = kind;
    r.rect = rect;
    r.centre = rect.center();
    r.colour = Qt::black;
    if (kind == KindSelect)
        r.path.addRect(rect);
    return ObjectCodec::encode(r, picture);
}

QJsonObject page(const QJsonArray &objects, const QString &background = QString(),
                 const QSize &size = QSize(200, 100))
{
    return QJsonObject { { "size", QJsonArray { size.width(), size.height() } },
                         { "pixelSize", QJsonArray { size.width(), size.height() } },
                         { "pixelRatio", 1 },
                         { "background", background.isEmpty() ? "colour" : "picture" },
                         { "picture", background },
                         { "colour", "#ffffffff" },
                         { "objects", objects } };
}

QByteArray document(const QJsonArray &pages, const Entries &pictures)
{
    const QJsonObject root { { "format", "tavelmark" },
                             { "version", QJsonArray { DocumentWriter::Major, 0 } },
                             { "nextNumber", 1 },
                             { "pages", pages } };
    return zipped(Entries { { QLatin1String(DocumentWriter::ManifestName),
                              QJsonDocument(root).toJson(QJsonDocument::Compact) } }
                  + pictures);
}

template<class T>
QList<T *> objectsOf(const QList<MainPage *> &pages)
{
    QList<T *> found;
    for (const MainPage *p : pages)
        for (Obj *obj : p->objects)
            if (auto *t = dynamic_cast<T *>(obj))
                found.append(t);
    return found;
}

const QString MoreMemory = QStringLiteral(
    "The pictures of the document need more memory than Tavelmark gives one document; some "
    "were left out.");
const QString Unusable
    = QStringLiteral("Some pictures of the document could not be used and were left out.");

} // namespace

// Pictures made to cost more than they say: inside SVG files, named by many
// objects of a document, past the document's budget, missing by the
// thousand, or behind page backgrounds.
class TestHostilePictures : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QStringList notes;

    QList<MainPage *> open(const QByteArray &bytes)
    {
        const QString path = env->path(QStringLiteral("hostile.tavelmark"));
        if (!writeFile(path, bytes))
            return {};
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(path);
        notes = reader.notes();
        return pages;
    }

    QStringList temporaryFiles() const
    {
        return QDir(AppState::instance().tempFolder).entryList(QDir::Files);
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        AppState::instance().tempFolder = env->path(QStringLiteral("temp/"));
        QDir().mkpath(AppState::instance().tempFolder);
    }

    void cleanup() { env.reset(); }

    // A GIF is decoded onto its logical screen, an icon file decodes the
    // picture inside whatever its directory says: pictures are counted at
    // the size their decoder makes, and formats that cannot be sized so are
    // refused.
    void embeddedPicturesCountAsTheyDecode()
    {
        const qint64 budget = SafeImageReader::MaxImageBytes;
        QCOMPARE(SvgCheck::check(fixture("gif-screens.svg"), budget).verdict,
                 SvgCheck::TooManyPixels);
        QCOMPARE(SvgCheck::check(fixture("icon-png.svg"), budget).verdict,
                 SvgCheck::EmbeddedFormat);
        QCOMPARE(SvgCheck::check(fixture("icns-png.svg"), budget).verdict,
                 SvgCheck::EmbeddedFormat);

        // What is counted is what the decoder makes, a screen left at 0
        // taking the frame's far edge.
        for (const QByteArray &picture : { gif({ 3000, 2000 }), gif({ 0, 0 }, { 15, 26 }),
                                           gif({ 7, 0 }, { 0, 9 }), png({ 300, 200 }) }) {
            const SvgCheck check = SvgCheck::check(svgWith(picture), budget);
            QCOMPARE(check.verdict, SvgCheck::Sound);
            const QImage decoded = QImage::fromData(picture);
            QVERIFY(!decoded.isNull());
            QCOMPARE(check.embeddedBytes, qint64(decoded.width()) * decoded.height() * 4);
        }

        ToolKit::reset();
        MainWindow window;
        auto *commands = new DocumentCommands(&window);
        window.view()->newPage();
        const QString icon = env->path(QStringLiteral("icon.svg"));
        QVERIFY(writeFile(icon, fixture("icon-png.svg")));
        ModalAnswerer watcher;
        QVERIFY(!commands->InsertImageFile(QPointF(), QSizeF(400, 300), icon, true));
        QCOMPARE(watcher.texts.size(), 1);
        QVERIFY2(watcher.texts[0].contains(QStringLiteral("PNG, JPEG, GIF and BMP are accepted")),
                 qPrintable(watcher.texts[0]));
    }

    // Many objects naming one picture hold one decoded copy; copies made
    // later share it too.
    void picturesNamedByManyObjectsAreDecodedOnce()
    {
        QJsonArray objects;
        for (int i = 0; i < 8; ++i) {
            objects.append(object(KindImageStatic, QStringLiteral("pictures/one.png")));
            objects.append(object(KindImageSVG, QStringLiteral("pictures/one.svg")));
        }
        const QList<MainPage *> pages = open(document(
            { page(objects) },
            { { QStringLiteral("pictures/one.png"), png({ 2000, 1500 }) },
              { QStringLiteral("pictures/one.svg"), svgWith(png({ 600, 400 }), "image/png") } }));
        QCOMPARE(pages.size(), 1);
        QCOMPARE(notes, QStringList());
        const QList<ImageStatic *> rasters = objectsOf<ImageStatic>(pages);
        const QList<ImageSVG *> vectors = objectsOf<ImageSVG>(pages);
        QCOMPARE(rasters.size(), 8);
        QCOMPARE(vectors.size(), 8);
        QCOMPARE(rasters.first()->pixmap->size(), QSize(2000, 1500));
        for (int i = 1; i < 8; ++i) {
            QCOMPARE(rasters.at(i)->pixmap->cacheKey(), rasters.first()->pixmap->cacheKey());
            QVERIFY(vectors.at(i)->renderer);
            QCOMPARE(vectors.at(i)->renderer.get(), vectors.first()->renderer.get());
        }
        QCOMPARE(temporaryFiles().size(), 2);

        std::unique_ptr<ImageStatic> copy(static_cast<ImageStatic *>(rasters.first()->clone()));
        QCOMPARE(copy->pixmap->cacheKey(), rasters.first()->pixmap->cacheKey());
        std::unique_ptr<ImageSVG> vectorCopy(static_cast<ImageSVG *>(vectors.first()->clone()));
        QCOMPARE(vectorCopy->renderer.get(), vectors.first()->renderer.get());
        qDeleteAll(pages);
        // The copy keeps the picture after every object it came from is gone.
        QCOMPARE(copy->pixmap->size(), QSize(2000, 1500));
    }

    // What SVG objects render to, pictures and moved pieces draw on one
    // budget for the document; past it objects are left out and said so,
    // and the rest of the document opens.
    void oneBudgetHoldsForTheWholeDocument()
    {
        const QRectF huge(0, 0, 4096, 4096); // renders to 64 MiB
        const int fit = int(DocumentReader::MaxPictureBytes / (huge.width() * huge.height() * 4));
        QJsonArray objects { object(KindShape, QString()) };
        for (int i = 0; i <= fit; ++i)
            objects.append(object(KindImageSVG, QStringLiteral("pictures/plain.svg"), huge));
        objects.append(object(KindImageStatic, QStringLiteral("pictures/small.png")));
        objects.append(object(KindSelect, QStringLiteral("pictures/moved.png")));
        const QByteArray plain = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" "
                                 "height=\"10\"><rect width=\"10\" height=\"10\"/></svg>";
        const QList<MainPage *> pages
            = open(document({ page(objects, QString(), huge.size().toSize()) },
                            { { QStringLiteral("pictures/plain.svg"), plain },
                              { QStringLiteral("pictures/small.png"), png({ 10, 10 }) },
                              { QStringLiteral("pictures/moved.png"), png({ 10, 10 }) } }));
        QCOMPARE(pages.size(), 1);
        QCOMPARE(notes, QStringList { MoreMemory });
        QCOMPARE(objectsOf<ImageSVG>(pages).size(), fit);
        QCOMPARE(objectsOf<ImageStatic>(pages).size(), 0);
        QCOMPARE(pages.first()->objects.size(), fit + 1);
        QCOMPARE(pages.first()->objects.first()->kind, int(KindShape));
        qDeleteAll(pages);
    }

    // A document naming missing pictures over and over makes no file for them.
    void missingPicturesMakeNoFilePerObject()
    {
        QJsonArray pages;
        for (int p = 0; p < 20; ++p) {
            QJsonArray objects { object(KindLine, QString()) };
            for (int i = 0; i < 500; ++i) {
                objects.append(object(KindImageStatic, QStringLiteral("pictures/gone.png")));
                objects.append(
                    object(KindImageSVG, QStringLiteral("pictures/gone-%1-%2.svg").arg(p).arg(i)));
                objects.append(object(KindSelect, QStringLiteral("pictures/gone-moved.png")));
            }
            pages.append(page(objects));
        }
        const QByteArray bytes = document(pages, {});
        const QDateTime untouched = QFileInfo(AppState::instance().tempFolder).lastModified();
        const QList<MainPage *> opened = open(bytes);
        QCOMPARE(opened.size(), 20);
        QCOMPARE(notes, QStringList { Unusable });
        for (const MainPage *p : opened)
            QCOMPARE(p->objects.size(), 1);
        QCOMPARE(temporaryFiles(), QStringList());
        QCOMPARE(QFileInfo(AppState::instance().tempFolder).lastModified(), untouched);
        qDeleteAll(opened);
    }

    // A page's picture is checked by its header only (it is decoded when the
    // page is shown), must be the PNG the program writes, and no larger than
    // its page.
    void backgroundsAreCheckedByTheirHeaders()
    {
        QByteArray damaged = png({ 200, 100 }, Qt::red);
        const qsizetype data = damaged.indexOf("IDAT") + 8;
        damaged.replace(data, 16, QByteArray(16, '\x5a'));
        QImage photo(200, 100, QImage::Format_RGB32);
        photo.fill(Qt::blue);
        const QList<MainPage *> pages
            = open(document({ page({}, QStringLiteral("pictures/fits.png")),
                              page({}, QStringLiteral("pictures/damaged.png")),
                              page({}, QStringLiteral("pictures/wide.png")),
                              page({}, QStringLiteral("pictures/photo.png")) },
                            { { QStringLiteral("pictures/fits.png"), png({ 200, 100 }) },
                              { QStringLiteral("pictures/damaged.png"), damaged },
                              { QStringLiteral("pictures/wide.png"), png({ 201, 100 }) },
                              { QStringLiteral("pictures/photo.png"), encoded(photo, "jpeg") } }));
        QCOMPARE(pages.size(), 4);
        QCOMPARE(notes, QStringList { Unusable });
        QCOMPARE(pages.at(0)->background, int(MainPage::PictureBackground));
        QCOMPARE(pages.at(1)->background, int(MainPage::PictureBackground));
        QCOMPARE(pages.at(2)->background, int(MainPage::ColourBackground));
        QCOMPARE(pages.at(3)->background, int(MainPage::ColourBackground));
        QVERIFY(!QFile::exists(MainPage::backgroundFile(pages.at(2)->id)));
        qDeleteAll(pages);
    }
};

QTEST_MAIN(TestHostilePictures)
#include "test_hostilepictures.moc"
