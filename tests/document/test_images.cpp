#include "pixels.h"

#include "app/appstate.h"
#include "document/imagestatic.h"
#include "document/imagesvg.h"

#include <QBuffer>
#include <QImageReader>
#include <QPixmap>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QtTest>

// Inserted pictures: loading (hostile files included), painting, hitting, cloning.
class TestImages : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(name));
        return file.fileName();
    }

    static quint32 crc32(const QByteArray &data)
    {
        quint32 crc = 0xffffffffu;
        for (char byte : data) {
            crc ^= quint8(byte);
            for (int k = 0; k < 8; ++k)
                crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
        }
        return ~crc;
    }

    static void putBigEndian(QByteArray &bytes, int at, quint32 value)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = char(value >> (24 - 8 * i));
    }

    // A small real PNG whose header claims another size, with a valid CRC.
    static QByteArray pngClaiming(quint32 width, quint32 height)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImage small(4, 4, QImage::Format_ARGB32);
        small.fill(Qt::red);
        small.save(&buffer, "PNG");
        // Signature (8), length (4), "IHDR" at 12, width at 16, height at 20,
        // the rest of the header up to 29, CRC over type and data at 29.
        putBigEndian(bytes, 16, width);
        putBigEndian(bytes, 20, height);
        putBigEndian(bytes, 29, crc32(bytes.mid(12, 17)));
        return bytes;
    }

private slots:
    void init() { AppState::reset(); }

    void rasterLoadTakesThePictureSize()
    {
        ImageStatic image(QRectF(30, 40, 1, 1));
        image.load(Pixels::savePicture(dir.filePath("blue.png"), QSize(40, 30), Qt::blue));
        QCOMPARE(image.rect, QRectF(30, 40, 40, 30));
        // Stretched to its rectangle.
        image.rect = QRectF(30, 40, 80, 60);
        QCOMPARE(Pixels::ink(Pixels::paint(image)), QRect(30, 40, 80, 60));
    }

    void hostileRasterFilesGiveAnEmptyPicture()
    {
        const int limitBefore = QImageReader::allocationLimit();
        QByteArray truncated = pngClaiming(4, 4);
        truncated.chop(30);
        const QStringList paths = {
            dir.filePath("missing.png"),
            dir.path(),
            write("empty.png", QByteArray()),
            write("text.png", "this is not a picture"),
            write("truncated.png", truncated),
            write("huge.png", pngClaiming(100000, 100000)),
            write("wide.png", pngClaiming(0x7fffffff, 1)),
            write("over-limit.png", pngClaiming(9000, 9000)),
        };
        for (const QString &path : paths) {
            ImageStatic image(QRectF(30, 40, 10, 10));
            image.load(path);
            QVERIFY2(image.pixmap && image.pixmap->isNull(), qPrintable(path));
            QCOMPARE(image.rect, QRectF(30, 40, 0, 0));
            QVERIFY(Pixels::ink(Pixels::paint(image)).isNull());
        }
        QCOMPARE(QImageReader::allocationLimit(), limitBefore);
    }

    void hostileSvgFilesGiveAnEmptyPicture()
    {
        // Entities nested five deep: 20^5 copies of the innermost text.
        QByteArray bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE svg [\n<!ENTITY a \""
            + QByteArray(71, 'a') + "\">\n";
        for (char e = 'b'; e <= 'f'; ++e)
            bomb += "<!ENTITY " + QByteArray(1, e) + " \""
                + ("&" + QByteArray(1, char(e - 1)) + ";").repeated(20) + "\">\n";
        bomb += "]>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"100\" "
                "height=\"100\"><text>&f;</text></svg>";
        const QByteArray huge = "<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
                                " width=\"1000000000\" height=\"1000000000\"><rect width=\"10\" "
                                "height=\"10\"/></svg>";
        QFile big(dir.filePath("big.svg"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(ImageSVG::MaxFileBytes + 1));
        big.close();
        const QStringList paths = {
            dir.filePath("missing.svg"),
            write("empty.svg", QByteArray()),
            write("text.svg", "no markup at all"),
            write("broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect"),
            write("bomb.svg", bomb),
            write("huge.svg", huge),
            big.fileName(),
        };
        for (const QString &path : paths) {
            ImageSVG image(QRectF(30, 40, 10, 10));
            image.load(path);
            QVERIFY2(!image.renderer, qPrintable(path));
            QCOMPARE(image.rect, QRectF(30, 40, 0, 0));
            QVERIFY(Pixels::ink(Pixels::paint(image)).isNull());
        }
    }

    void recursiveSvgLoadsWithoutRecursing()
    {
        const QString path = write("recursive.svg",
                                   "<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
                                   " xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"100\" "
                                   "height=\"100\">\n"
                                   "<g id=\"g\"><rect width=\"500\" height=\"500\"/>"
                                   "<use xlink:href=\"#g\"/></g></svg>");
        ImageSVG image(QRectF(20, 20, 0, 0));
        image.load(path);
        QCOMPARE(image.rect, QRectF(20, 20, 100, 100));
        QVERIFY(QRect(20, 20, 100, 100).contains(Pixels::ink(Pixels::paint(image))));
    }

    void svgNeverPaintsOutsideItsRect()
    {
        // The content overflows its view box on every side.
        const QString path
            = write("overflow.svg",
                    "<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
                    " width=\"100\" height=\"80\" viewBox=\"0 0 100 80\">\n"
                    "<rect x=\"-60\" y=\"-60\" width=\"220\" height=\"200\" fill=\"red\"/></svg>");
        ImageSVG image(QRectF(50, 60, 0, 0));
        image.load(path);
        QVERIFY(image.renderer);
        QCOMPARE(image.rect, QRectF(50, 60, 100, 80));
        QCOMPARE(Pixels::ink(Pixels::paint(image)), QRect(50, 60, 100, 80));

        image.rect = QRectF(250, 240, -150, -120); // mid-drag
        QCOMPARE(Pixels::ink(Pixels::paint(image)), QRect(100, 120, 150, 120));

        // An existing clip still applies.
        QImage img = Pixels::blank();
        QPainter p(&img);
        p.setClipRect(QRect(0, 0, 150, 300));
        image.paint(&p);
        p.end();
        QCOMPARE(Pixels::ink(img), QRect(100, 120, 50, 120));
    }

    void rotatedImageIsHitInsideItsOutline()
    {
        ImageStatic image(QRectF(100, 100, 200, 100));
        image.setAngle(45);
        QCOMPARE(image.hitTest(QPointF(200, 150), false), 1);
        // Inside the unrotated rectangle, outside the turned one.
        QCOMPARE(image.hitTest(QPointF(105, 195), false), 0);
        // Outside the unrotated rectangle, inside the turned one.
        QCOMPARE(image.hitTest(QPointF(200, 210), false), 1);
        // The handles turn with it.
        QCOMPARE(image.hitTest(image.handlePos(3), true), 3);
        QCOMPARE(image.hitTest(QPointF(300, 100), true), 0);
    }

    void rotatedImagePaintsTurned()
    {
        ImageStatic image(QRectF(50, 100, 0, 0));
        image.load(Pixels::savePicture(dir.filePath("wide.png"), QSize(200, 100), Qt::blue));
        image.setAngle(90);
        const QRect ink = Pixels::ink(Pixels::paint(image), 128);
        QVERIFY2(qAbs(ink.width() - 100) <= 1 && qAbs(ink.height() - 200) <= 1,
                 qPrintable(QString("%1x%2").arg(ink.width()).arg(ink.height())));
    }

    // A copy shares the decoded picture of its file and keeps it when the
    // source goes.
    void cloneSharesItsPicture()
    {
        const QString path
            = Pixels::savePicture(dir.filePath("green.png"), QSize(20, 10), Qt::green);
        auto source = std::make_unique<ImageStatic>(QRectF(10, 10, 0, 0));
        source->load(path);
        source->rect = QRectF(10, 10, 60, 30);
        source->centre = QPointF(11, 12);
        source->setAngle(30);
        std::unique_ptr<ImageStatic> copy(static_cast<ImageStatic *>(source->clone()));
        QVERIFY(copy->pixmap && copy->pixmap != source->pixmap);
        QCOMPARE(copy->pixmap->cacheKey(), source->pixmap->cacheKey());
        const QImage before = Pixels::paint(*copy);
        QCOMPARE(before, Pixels::paint(*source));
        source.reset();
        QCOMPARE(Pixels::paint(*copy), before);

        // A picture whose file went away clones to an empty one with its frame.
        QVERIFY(QFile::remove(path));
        std::unique_ptr<ImageStatic> orphan(static_cast<ImageStatic *>(copy->clone()));
        QVERIFY(orphan->pixmap->isNull());
        QCOMPARE(orphan->rect, QRectF(10, 10, 60, 30));

        const QString svg
            = write("dot.svg",
                    "<svg xmlns=\"http://www.w3.org/2000/svg\"\n"
                    " width=\"40\" height=\"40\"><circle cx=\"20\" cy=\"20\" r=\"20\"/></svg>");
        ImageSVG vector(QRectF(5, 5, 0, 0));
        vector.load(svg);
        vector.rect = QRectF(5, 5, 80, 80);
        std::unique_ptr<ImageSVG> vectorCopy(static_cast<ImageSVG *>(vector.clone()));
        QVERIFY(vectorCopy->renderer);
        QCOMPARE(vectorCopy->renderer, vector.renderer);
        const QImage vectorBefore = Pixels::paint(vector);
        QCOMPARE(Pixels::paint(*vectorCopy), vectorBefore);
        vector.release();
        QCOMPARE(Pixels::paint(*vectorCopy), vectorBefore);
    }
};

QTEST_MAIN(TestImages)
#include "test_images.moc"
