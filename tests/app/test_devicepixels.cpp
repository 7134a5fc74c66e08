#include "app/devicepixels.h"
#include "numberedpicture.h"

#include <QPainter>
#include <QtTest>

// Logical rectangles mapped onto device pixels at the usual screen scales.
class TestDevicePixels : public QObject
{
    Q_OBJECT

    // Every device pixel knows where it came from.
    static QImage numbered(const QSize &size, qreal ratio)
    {
        QImage image = numberedPicture(size);
        image.setDevicePixelRatio(ratio);
        return image;
    }

private Q_SLOTS:
    void neighboursTileWithoutGapOrOverlap_data()
    {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1") << 1.0;
        QTest::newRow("1.25") << 1.25;
        QTest::newRow("1.5") << 1.5;
        QTest::newRow("2") << 2.0;
    }

    void neighboursTileWithoutGapOrOverlap()
    {
        QFETCH(qreal, ratio);
        // Odd positions and sizes, side by side, including left of the origin.
        const QList<int> widths = { 1, 3, 7, 13, 300, 201, 5 };
        int x = -11;
        int deviceRight = DevicePixels::edge(x, ratio);
        for (int w : widths) {
            const QRect device = DevicePixels::rect(QRect(x, 17, w, 9), ratio);
            QCOMPARE(device.left(), deviceRight);
            QVERIFY(qAbs(device.width() - w * ratio) <= 1.0);
            QVERIFY(qAbs(device.height() - 9 * ratio) <= 1.0);
            deviceRight = device.left() + device.width();
            x += w;
        }
        // Whole multiples map exactly.
        QCOMPARE(
            DevicePixels::rect(QRect(4, 8, 300, 200), ratio),
            QRect(qRound(4 * ratio), qRound(8 * ratio), qRound(300 * ratio), qRound(200 * ratio)));
        QCOMPARE(DevicePixels::size(QSize(1280, 800), ratio),
                 QSize(qRound(1280 * ratio), qRound(800 * ratio)));
    }

    void copiesAreUnscaledDevicePixels_data() { neighboursTileWithoutGapOrOverlap_data(); }

    void copiesAreUnscaledDevicePixels()
    {
        QFETCH(qreal, ratio);
        const QImage screen = numbered(DevicePixels::size(QSize(333, 211), ratio), ratio);
        // Its corner lands on whole device pixels at every ratio tried.
        const QRect logical(100, 36, 151, 77);
        const QRect device = DevicePixels::rect(logical, ratio);
        const QImage piece = DevicePixels::copy(screen, logical);
        QCOMPARE(piece.size(), device.size());
        QCOMPARE(piece.devicePixelRatio(), ratio);
        QCOMPARE(piece.pixel(0, 0), screen.pixel(device.topLeft()));
        QCOMPARE(piece.pixel(piece.width() - 1, piece.height() - 1),
                 screen.pixel(device.bottomRight()));
        QCOMPARE(piece.convertToFormat(QImage::Format_RGB32),
                 screen.copy(device).convertToFormat(QImage::Format_RGB32));

        // Painted back where it came from on a picture of the same ratio, no
        // pixel changes: nothing was scaled on the way.
        QImage canvas(screen.size(), QImage::Format_RGB32);
        canvas.setDevicePixelRatio(ratio);
        canvas.fill(Qt::black);
        QPainter(&canvas).drawImage(logical.topLeft(), piece);
        QCOMPARE(canvas.copy(device), screen.copy(device));

        // Cut at the border, never past it.
        const QPixmap pixmap = QPixmap::fromImage(screen);
        const QPixmap corner = DevicePixels::copy(pixmap, QRect(320, 200, 50, 50));
        const QRect inside = DevicePixels::rect(QRect(320, 200, 50, 50), ratio) & pixmap.rect();
        QCOMPARE(corner.size(), inside.size());
        QCOMPARE(corner.devicePixelRatio(), ratio);
        QVERIFY(DevicePixels::copy(pixmap, QRect(400, 300, 10, 10)).isNull());
    }
};

QTEST_MAIN(TestDevicePixels)
#include "test_devicepixels.moc"
