#include "canvas/framestrips.h"

#include <QPainter>
#include <QTest>

// The frame's strips, stretched once per size, must look like the tiles
// stretched on every repaint, and follow a new size.
class TestFrameStrips : public QObject
{
    Q_OBJECT

    // Tiles of three colours with a soft alpha ramp, 3 x 3 of 8 px.
    static QImage tiles(qreal ratio)
    {
        QImage image(QSize(24, 24) * ratio, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const int alpha = 60 + (x * 13 + y * 7) % 190;
                image.setPixel(x, y, qPremultiply(qRgba(x * 10 % 256, y * 10 % 256, 90, alpha)));
            }
        return image;
    }
    static QImage page(QSize size, qreal ratio)
    {
        QImage image(size * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(qRgb(230, 240, 250));
        return image;
    }
    // The frame as the tiles stretched straight onto the page.
    static QImage direct(QSize size, qreal ratio, int k, const QImage &grid)
    {
        QImage image = page(size, ratio);
        QPainter p(&image);
        const int t = grid.width() / 3, w = size.width(), h = size.height();
        auto tile = [&](const QRect &target, int column, int row) {
            p.drawImage(target, grid, QRect(column * t, row * t, t, t));
        };
        tile(QRect(0, 0, k, k), 0, 0);
        tile(QRect(w - k, 0, k, k), 2, 0);
        tile(QRect(0, h - k, k, k), 0, 2);
        tile(QRect(w - k, h - k, k, k), 2, 2);
        tile(QRect(0, k, k, h - 2 * k), 0, 1);
        tile(QRect(k, 0, w - 2 * k, k), 1, 0);
        tile(QRect(w - k, k, k, h - 2 * k), 2, 1);
        tile(QRect(k, h - k, w - 2 * k, k), 1, 2);
        return image;
    }
    static int largestDifference(const QImage &a, const QImage &b)
    {
        int most = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x) {
                const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
                most = std::max({ most, std::abs(qRed(p) - qRed(q)),
                                  std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q)) });
            }
        return most;
    }

private Q_SLOTS:
    void stripsLookLikeTheTiles_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("2") << 2.0;
    }

    void stripsLookLikeTheTiles()
    {
        QFETCH(qreal, ratio);
        const QImage grid = tiles(ratio);
        FrameStrips strips;
        for (const QSize size : { QSize(200, 120), QSize(160, 150) }) {
            QImage shown = page(size, ratio);
            QPainter p(&shown);
            strips.paint(p, QRect(QPoint(0, 0), size), size, ratio, 12, grid, false);
            p.end();
            QCOMPARE(shown.size(), size * ratio);
            // Blending in two steps may round once more.
            QVERIFY(largestDifference(shown, direct(size, ratio, 12, grid)) <= 2);
            QVERIFY(shown.pixelColor(int(100 * ratio), int(60 * ratio)) == QColor(230, 240, 250));
        }
    }

    // A repaint of the left edge alone leaves the other edges untouched.
    void paintsOnlyStripsTheRepaintReaches()
    {
        const QSize size(200, 120);
        QImage shown = page(size, 1.0);
        FrameStrips strips;
        QPainter p(&shown);
        strips.paint(p, QRect(2, 50, 4, 4), size, 1.0, 12, tiles(1.0), false);
        p.end();
        QVERIFY(shown.pixelColor(5, 60) != QColor(230, 240, 250));
        QCOMPARE(shown.pixelColor(195, 60), QColor(230, 240, 250));
        QCOMPARE(shown.pixelColor(100, 3), QColor(230, 240, 250));
    }
};

QTEST_MAIN(TestFrameStrips)
#include "test_framestrips.moc"
