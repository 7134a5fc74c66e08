#include "canvas/regionpainter.h"

#include <QPainter>
#include <QTest>

// Painting a picture or a colour piece by piece inside a region must give
// the very pixels one draw under the same clip gives, at every pixel ratio,
// and the pieces must cover the region exactly.
class TestRegionPainter : public QObject
{
    Q_OBJECT

    static QImage pattern(QSize logical, qreal ratio)
    {
        QImage image(logical * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixel(x, y, qRgba(x * 7 % 256, y * 5 % 256, (x ^ y) % 256, 128 + y % 128));
        return image;
    }
    static QImage canvas(qreal ratio)
    {
        QImage image(QSize(300, 200) * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(qRgb(40, 90, 160));
        return image;
    }
    // Scattered rectangles, one taller than a band and one half off the
    // picture.
    static QRegion scattered()
    {
        return QRegion(10, 10, 40, 150) + QRegion(70, 30, 100, 20) + QRegion(200, 120, 150, 90);
    }

private Q_SLOTS:
    void piecesMatchOneClippedDraw_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("2") << 2.0;
        QTest::newRow("1.5") << 1.5;
    }
    void piecesMatchOneClippedDraw()
    {
        QFETCH(qreal, ratio);
        const QImage picture = pattern(QSize(220, 170), ratio);
        const QPoint origin(15, 12);
        const QRegion region = scattered();
        QImage expected = canvas(ratio), actual = canvas(ratio);
        {
            QPainter p(&expected);
            p.setClipRegion(region);
            p.drawImage(origin, picture);
            p.fillRect(QRect(0, 0, 300, 200), QColor(0, 0, 0, 90));
        }
        {
            QPainter p(&actual);
            p.setClipRegion(region);
            RegionPainter::drawImage(p, region, origin, picture);
            RegionPainter::drawPixmap(p, QRegion(), origin, QPixmap::fromImage(picture)); // nothing
            RegionPainter::fill(p, region, QColor(0, 0, 0, 90));
        }
        QCOMPARE(actual, expected);
        // A picture drawn through its pixmap lands alike.
        QImage viaPixmap = canvas(ratio);
        {
            QPainter p(&viaPixmap);
            p.setClipRegion(region);
            RegionPainter::drawPixmap(p, region, origin, QPixmap::fromImage(picture));
            RegionPainter::fill(p, region, QColor(0, 0, 0, 90));
        }
        QCOMPARE(viaPixmap, expected);
    }

    void piecesCoverTheRegionInShortBands()
    {
        for (const qreal ratio : { 1.0, 2.0 }) {
            const QRegion region = scattered() + QRegion(0, 300, 1000, 600);
            const RegionPainter::Pieces pieces = RegionPainter::pieces(region, ratio);
            QRegion covered;
            qint64 area = 0;
            bool large = false;
            for (const QRect &piece : pieces) {
                covered += piece;
                area += qint64(piece.width()) * piece.height();
                if (piece.width() == 1000)
                    large = true; // stays whole: worth the pool's threads
                else
                    QVERIFY(piece.height() * ratio <= 64);
            }
            QVERIFY(covered.xored(region).isEmpty());
            QCOMPARE(area, qint64(40 * 150 + 100 * 20 + 150 * 90 + 1000 * 600)); // no overlap
            QVERIFY(large);
        }
    }
};

QTEST_MAIN(TestRegionPainter)
#include "test_regionpainter.moc"
