#include "canvas/viewtransform.h"

#include <QtTest>

// Page and canvas pixels: a page larger than its window is shown whole and
// smaller, and what the canvas repaints covers what changed on the page.
class TestViewTransform : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aPageIsShownWholeAndNeverLarger()
    {
        const ViewTransform small = ViewTransform::fitting(QSize(800, 600), QSize(1920, 1080));
        QCOMPARE(small.scale(), 1.0);
        QCOMPARE(small.shownSize(), QSize(800, 600));
        QCOMPARE(small.toView(QRect(10, 20, 30, 40)), QRect(10, 20, 30, 40));

        // Twice as wide as its window, and the narrower side decides.
        const ViewTransform wide = ViewTransform::fitting(QSize(3840, 1600), QSize(1920, 1080));
        QCOMPARE(wide.scale(), 0.5);
        QCOMPARE(wide.shownSize(), QSize(1920, 800));
        QCOMPARE(wide.pageRect(), QRect(0, 0, 3840, 1600));
        const ViewTransform tall = ViewTransform::fitting(QSize(1000, 2000), QSize(1000, 500));
        QCOMPARE(tall.scale(), 0.25);
        QCOMPARE(tall.shownSize(), QSize(250, 500));
    }

    void pointsGoBothWaysAndRectanglesCoverTheirPixels()
    {
        const ViewTransform t(2.0 / 3, QSize(1500, 900));
        const QPointF page(301, 157);
        QCOMPARE(t.toPage(t.toView(page)), page);
        QCOMPARE(t.toView(QPointF(300, 150)), QPointF(200, 100));

        // A rectangle changed on the page is repainted whole on the canvas,
        // and a canvas region exposed is drawn from all the page under it.
        const QRect changed(31, 17, 10, 5);
        const QRect onView = t.toView(changed);
        const QRectF exact(t.toView(QPointF(changed.topLeft())),
                           t.toView(QPointF(changed.bottomRight() + QPoint(1, 1))));
        QVERIFY(QRectF(onView).contains(exact));
        QVERIFY(onView.width() <= exact.width() + 4);
        const QRegion exposed(QRect(100, 100, 7, 3));
        const QRect back = t.toPage(exposed).boundingRect();
        QVERIFY(back.contains(QRect(150, 150, 10, 4)));
        QVERIFY(back.width() <= 14);
    }
};

QTEST_MAIN(TestViewTransform)
#include "test_viewtransform.moc"
