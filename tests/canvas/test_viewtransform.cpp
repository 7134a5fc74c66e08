#include "canvas/pagezoom.h"
#include "canvas/viewtransform.h"

#include <QtTest>

// Page and canvas pixels: a page larger than its window is shown whole and
// smaller, what the canvas repaints covers what changed on the page, and a
// zoomed page keeps the point under the pointer and covers its window.
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

    void aMovedPageMapsBothWays()
    {
        const ViewTransform t(3.33, QSize(1366, 767), QPointF(-1201, -77));
        for (const QPointF page : { QPointF(0, 0), QPointF(683.5, 383.25), QPointF(1365, 766) })
            QVERIFY(QLineF(t.toPage(t.toView(page)), page).length() < 1e-9);
        QCOMPARE(t.toView(QPointF(400, 30)), QPointF(400 * 3.33 - 1201, 30 * 3.33 - 77));
        const QRect changed(400, 30, 9, 4);
        QVERIFY(QRectF(t.toView(changed))
                    .contains(QRectF(t.toView(QPointF(400, 30)), QSizeF(9, 4) * 3.33)));
        QVERIFY(t.toPage(QRegion(t.toView(changed))).boundingRect().contains(changed));
        QVERIFY(!t.isIdentity());
    }

    // At each zoom, from several positions, on pages of odd sizes: the page
    // point under the anchor stays there, and the page covers the window
    // wherever it is larger than the window.
    void zoomKeepsThePointUnderTheAnchor_data()
    {
        QTest::addColumn<QSize>("page");
        QTest::addColumn<qreal>("scale");
        QTest::addColumn<QPointF>("anchor");
        const QSize window(1366, 767);
        for (const QSize page : { window, QSize(1921, 1081), QSize(333, 1999) })
            for (const qreal scale : { 0.25, 1.0, 3.33, 8.0 })
                for (const QPointF anchor :
                     { QPointF(0, 0), QPointF(700.5, 300.25), QPointF(1365, 766) })
                    QTest::addRow("%dx%d at %g around %g,%g", page.width(), page.height(), scale,
                                  anchor.x(), anchor.y())
                        << page << scale << anchor;
    }
    void zoomKeepsThePointUnderTheAnchor()
    {
        QFETCH(QSize, page);
        QFETCH(qreal, scale);
        QFETCH(QPointF, anchor);
        const QSize window(1366, 767);
        PageZoom zoom;
        zoom.zoomTo(2, QPointF(400, 500), page, window); // a position of its own first
        const auto placed = [&] {
            const PageZoom::Placement p = zoom.place(page, window);
            return ViewTransform(p.scale, page, p.topLeft);
        };
        const QPointF under = placed().toPage(anchor);
        zoom.zoomTo(scale, anchor, page, window);
        const ViewTransform after = placed();
        QCOMPARE(after.scale(), scale);
        const QSize shown = after.shownSize();
        for (const bool horizontal : { true, false }) {
            const int side = horizontal ? window.width() : window.height();
            const int size = horizontal ? shown.width() : shown.height();
            const qreal at = horizontal ? after.origin().x() : after.origin().y();
            if (size > side) {
                QVERIFY(at <= 0 && at + size >= side);
                // Where the page could stay put, the anchored point did.
                const qreal wanted
                    = horizontal ? anchor.x() - under.x() * scale : anchor.y() - under.y() * scale;
                if (wanted <= 0 && wanted + size >= side)
                    QVERIFY(qAbs(at - wanted) < 1e-6);
            } else {
                // A page smaller than the window is centred on whole pixels.
                const int centred = (side - size) / 2;
                QCOMPARE(at, qreal(centred));
            }
        }
    }

    void zoomingInAndOutAHundredTimesDoesNotCreep()
    {
        const QSize page(1921, 1081), window(1366, 767);
        PageZoom zoom;
        zoom.zoomTo(3, QPointF(300, 200), page, window);
        const PageZoom::Placement start = zoom.place(page, window);
        for (int i = 0; i < 100; ++i) {
            zoom.zoomTo(PageZoom::stepped(3, 1), QPointF(911.3, 417.7), page, window);
            zoom.zoomTo(3, QPointF(911.3, 417.7), page, window);
        }
        const PageZoom::Placement end = zoom.place(page, window);
        QCOMPARE(end.topLeft, start.topLeft);
        QCOMPARE(end.scale, start.scale);
    }

    void stepsLandOnTheRoundZoomsAndStayInRange()
    {
        QCOMPARE(PageZoom::stepped(1, 3), 2.0);
        QCOMPARE(PageZoom::stepped(2, 6), 8.0);
        QCOMPARE(PageZoom::stepped(1, -6), 0.25);
        QCOMPARE(PageZoom::stepped(8, 1), 8.0);
        QCOMPARE(PageZoom::stepped(0.25, -1), 0.25);
        // From off the ladder, a step goes to the next rung.
        QVERIFY(PageZoom::stepped(3.33, 1) > 3.33);
        QVERIFY(PageZoom::stepped(3.33, -1) < 3.33);
        PageZoom zoom;
        zoom.zoomTo(100, QPointF(), QSize(10, 10), QSize(10, 10));
        QCOMPARE(zoom.scale(QSize(10, 10), QSize(10, 10)), 8.0);
    }

    void aFittedPageLeavesItsZoomBehind()
    {
        const QSize page(2560, 1600), window(1280, 800);
        PageZoom zoom;
        QVERIFY(zoom.isFitted());
        QCOMPARE(zoom.scale(page, window), 0.5);
        zoom.zoomTo(2, QPointF(640, 400), page, window);
        QVERIFY(!zoom.isFitted());
        zoom.panBy(QPointF(1e6, -1e6), page, window); // as far as the page reaches
        QCOMPARE(zoom.place(page, window).topLeft, QPointF(0, 800 - 3200));
        zoom.fit();
        QCOMPARE(zoom.place(page, window).topLeft, QPointF(0, 0));
        QCOMPARE(zoom.place(page, window).shownSize, window);
    }
};

QTEST_MAIN(TestViewTransform)
#include "test_viewtransform.moc"
