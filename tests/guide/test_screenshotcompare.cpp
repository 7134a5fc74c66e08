#include "screenshotcompare.h"

#include <QPainter>
#include <QtTest>

// A picture taken again matches the committed one through what fonts and
// carets change, and not through what the program changed.
class TestScreenshotCompare : public QObject
{
    Q_OBJECT

    // A panel: a title, two rows of text and a coloured button.
    static QImage panel(int iRows, qreal textShift = 0, int iTaller = 0)
    {
        QImage image(240, 40 + 30 * iRows + iTaller, QImage::Format_RGB32);
        image.fill(QColor(240, 240, 240));
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setFont(QFont(QStringLiteral("Liberation Sans"), 11));
        p.drawText(QPointF(10 + textShift, 24), QStringLiteral("Save"));
        for (int i = 0; i < iRows; ++i) {
            p.fillRect(QRect(10, 40 + 30 * i, 22, 22), QColor(30, 110, 200));
            p.drawText(QPointF(40 + textShift, 56 + 30 * i), QStringLiteral("Save All Pages"));
        }
        return image;
    }

private Q_SLOTS:
    void fontsAndCaretsPass()
    {
        const QImage committed = panel(2);
        QVERIFY(ScreenshotCompare(committed, committed).matches());
        QVERIFY(ScreenshotCompare(committed, panel(2, 0.6)).matches());
        QImage caret = committed;
        for (int y = 44; y < 60; ++y)
            caret.setPixel(150, y, qRgb(0, 0, 0));
        QVERIFY(ScreenshotCompare(committed, caret).matches());
        // A dialog a pixel taller, as another font's line height gives.
        QVERIFY(ScreenshotCompare(committed, panel(2, 0, 1)).matches());
    }

    void aChangedProgramFails()
    {
        const QImage committed = panel(2);
        const ScreenshotCompare newRow(committed, panel(3));
        QVERIFY(!newRow.matches());
        QVERIFY(newRow.reason().contains(QLatin1String("size")));

        QImage recoloured = committed;
        QPainter(&recoloured).fillRect(QRect(10, 40, 22, 52), QColor(220, 40, 40));
        const ScreenshotCompare look(committed, recoloured);
        QVERIFY(!look.matches());
        QVERIFY(look.differingBlocks() > look.budget());
        const QImage diff = look.diffImage();
        QCOMPARE(diff.size(), QSize(240 * 3 + 16, 100));
        // The differing blocks are marked red in the third picture.
        const QRgb mark = diff.pixel(240 * 2 + 16 + 20, 60);
        QVERIFY(qRed(mark) > 200 && qGreen(mark) < 100);

        QVERIFY(!ScreenshotCompare(committed, QImage()).matches());
    }
};

QTEST_MAIN(TestScreenshotCompare)
#include "test_screenshotcompare.moc"
