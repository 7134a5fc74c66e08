#include "canvasfixture.h"

#include "canvas/backgroundcache.h"
#include "document/backgroundfiles.h"

#include <QImageReader>
#include <QSignalSpy>

#include <utility>

// Page pictures decoded ahead for page switches.
class TestBackgroundCache : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;

    static QPixmap filled(const QColor &colour)
    {
        QPixmap picture(64, 40);
        picture.fill(colour);
        return picture;
    }

    static void writePicture(int pageId, const QColor &colour)
    {
        QImage image(64, 40, QImage::Format_RGB32);
        image.fill(colour);
        QVERIFY(image.save(MainPage::backgroundFile(pageId), "PNG"));
    }

    static QColor colourOf(const QPixmap &picture) { return picture.toImage().pixelColor(10, 10); }

    // A picture page of one colour, made current.
    void addPicturePage(const QColor &colour)
    {
        canvas->view->newPage();
        canvas->view->setBackground(filled(colour));
    }

    void waitForDecodes() { QTRY_VERIFY(!canvas->view->isDecodingAhead()); }

private Q_SLOTS:
    void init() { canvas = std::make_unique<CanvasFixture>(); }
    void cleanup() { canvas.reset(); }

    void keepsTheNewestUpToItsCapacity()
    {
        BackgroundCache cache(2);
        cache.keep(1, filled(Qt::red));
        cache.keep(2, filled(Qt::green));
        cache.keep(1, filled(Qt::blue)); // kept again: now the newest
        cache.keep(3, filled(Qt::yellow));
        QVERIFY(cache.find(2).isNull());
        QCOMPARE(colourOf(cache.find(1)), QColor(Qt::blue));
        QCOMPARE(colourOf(cache.find(3)), QColor(Qt::yellow));
        cache.forget(3);
        QVERIFY(cache.find(3).isNull());
    }

    // The pixels of a picture that no longer fits are handed over, and a
    // decode of the same size fills them in place.
    void handsEvictedPixelsToTheNextDecode()
    {
        BackgroundCache cache(1);
        QPixmap red = filled(Qt::red);
        const uchar *pixels = red.toImage().constBits();
        cache.keep(1, std::exchange(red, QPixmap()));
        QImage evicted;
        cache.keep(2, filled(Qt::green), &evicted);
        QCOMPARE(evicted.constBits(), pixels);
        QCOMPARE(evicted.pixelColor(10, 10), QColor(Qt::red));
        writePicture(904, Qt::blue);
        QVERIFY(QImageReader(MainPage::backgroundFile(904), "PNG").read(&evicted));
        QCOMPARE(evicted.constBits(), pixels);
        QCOMPARE(evicted.pixelColor(10, 10), QColor(Qt::blue));
    }

    void decodesFilesAheadAndDropsForgottenOnes()
    {
        BackgroundCache cache;
        QSignalSpy decoded(&cache, &BackgroundCache::decoded);
        writePicture(901, Qt::red);
        writePicture(902, Qt::green);
        QFile(MainPage::backgroundFile(903)).open(QIODevice::WriteOnly); // empty: unreadable
        cache.decodeAhead({ { 901, 2.0 } });
        cache.forget(901); // its file changed while it was decoded
        cache.decodeAhead({ { 903, 1.0 }, { 902, 1.0 } });
        // One worker: when the last arrives, the others have too.
        QTRY_VERIFY(!cache.isDecoding());
        QCOMPARE(decoded.count(), 1);
        QCOMPARE(decoded.at(0).at(0).toInt(), 902);
        QVERIFY(cache.find(901).isNull());
        QVERIFY(cache.find(903).isNull());
        QCOMPARE(colourOf(cache.find(902)), QColor(Qt::green));

        cache.decodeAhead({ { 901, 2.0 } });
        QTRY_VERIFY(!cache.isDecoding());
        QCOMPARE(cache.find(901).devicePixelRatio(), 2.0);
    }

    // The file of a neighbour is not read when the switch comes: its
    // picture was decoded while the page before was shown.
    void neighboursSwitchWithoutReadingTheirFiles()
    {
        addPicturePage(Qt::red);
        addPicturePage(Qt::green);
        addPicturePage(Qt::blue);
        QVERIFY(canvas->view->document().gotoPage(1)); // red, between a blank page and green
        waitForDecodes();
        writePicture(canvas->view->document().pageList().at(2)->id, Qt::black);
        QVERIFY(canvas->view->document().gotoPage(2));
        QCOMPARE(colourOf(canvas->view->backgroundPicture()), QColor(Qt::green));

        // The page left behind stays ready too; a new picture replaces the
        // one kept.
        writePicture(canvas->view->document().pageList().at(1)->id, Qt::black);
        canvas->view->setBackground(filled(Qt::yellow));
        QVERIFY(canvas->view->document().gotoPage(1));
        QCOMPARE(colourOf(canvas->view->backgroundPicture()), QColor(Qt::red));
        waitForDecodes();
        QVERIFY(canvas->view->document().gotoPage(2));
        QCOMPARE(colourOf(canvas->view->backgroundPicture()), QColor(Qt::yellow));
    }

    // A page far away is decoded into the pixels of the picture that left
    // the cache, and shows its own picture, not what those pixels held.
    void farPageReusesTheEvictedPicture()
    {
        const QColor colours[] = { Qt::red, Qt::green, Qt::blue, Qt::cyan, Qt::magenta, Qt::gray };
        for (const QColor &colour : colours)
            addPicturePage(colour);
        BackgroundFiles::instance().finish();
        QVERIFY(canvas->view->document().gotoPage(1));
        waitForDecodes();
        QVERIFY(canvas->view->document().gotoPage(2));
        waitForDecodes(); // kept: pages 1, 2 and 3
        QVERIFY(canvas->view->document().gotoPage(6));
        const QImage shown = canvas->view->backgroundPicture().toImage();
        QCOMPARE(shown.pixelColor(10, 10), QColor(Qt::gray));
        QVERIFY(canvas->view->document().gotoPage(4));
        QCOMPARE(colourOf(canvas->view->backgroundPicture()), QColor(Qt::cyan));
    }
};

QTEST_MAIN(TestBackgroundCache)
#include "test_backgroundcache.moc"
