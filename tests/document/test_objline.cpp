#include "pixels.h"

#include "document/objline.h"

#include <QtTest>

class TestObjLine : public QObject
{
    Q_OBJECT

    static int columnHeight(const QImage &img, int x)
    {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            n += qAlpha(img.pixel(x, y)) > 64;
        return n;
    }

    static std::unique_ptr<ObjLine> horizontal(int width, int startCap, int endCap)
    {
        auto l = std::make_unique<ObjLine>();
        l->line = QLineF(50, 100, 250, 100);
        l->width = width;
        l->startCap = startCap;
        l->endCap = endCap;
        return l;
    }

private slots:
    void arrowheadPointsAlongTheLine()
    {
        QImage img = Pixels::paint(*horizontal(12, ObjLine::NoCap, ObjLine::FilledArrow));
        QRect ink = Pixels::ink(img, 64);
        QVERIFY2(ink.right() >= 250 && ink.right() <= 265,
                 qPrintable(QString::number(ink.right())));
        QCOMPARE(ink.left(), 50); // a flat start
        QVERIFY(qAbs(columnHeight(img, 150) - 12) <= 1);
        // Widest behind the tip, narrowing towards it.
        QVERIFY(columnHeight(img, 238) > 2 * 12);
        QVERIFY(columnHeight(img, 250) < columnHeight(img, 238));
        QVERIFY(columnHeight(img, 258) < columnHeight(img, 250));

        img = Pixels::paint(*horizontal(12, ObjLine::FilledArrow, ObjLine::NoCap));
        ink = Pixels::ink(img, 64);
        QVERIFY(ink.left() <= 50 && ink.left() >= 35);
        QCOMPARE(ink.right(), 249);
        QVERIFY(columnHeight(img, 62) > 2 * 12);
        QVERIFY(columnHeight(img, 50) < columnHeight(img, 62));

        // Drawn right to left, the end cap points left.
        auto back = horizontal(12, ObjLine::NoCap, ObjLine::FilledArrow);
        back->line = QLineF(back->line.p2(), back->line.p1());
        QVERIFY(columnHeight(Pixels::paint(*back), 62) > 2 * 12);

        // Straight down: the head widens the rows above the tip.
        ObjLine down;
        down.width = 12;
        down.endCap = ObjLine::OpenArrow;
        down.line = QLineF(150, 40, 150, 240);
        ink = Pixels::ink(Pixels::paint(down), 64);
        QVERIFY2(ink.bottom() >= 240 && ink.bottom() <= 265,
                 qPrintable(QString::number(ink.bottom())));
        QVERIFY(ink.width() > 40);
    }

    void coincidentEndsPaintNothing()
    {
        auto l = horizontal(12, ObjLine::Dot, ObjLine::OpenArrow);
        l->shadow = 1;
        l->line = QLineF(100, 100, 100, 100);
        QVERIFY(Pixels::ink(Pixels::paint(*l)).isNull());
    }

    void thinLinesGetFullSizeCaps()
    {
        auto l = horizontal(1, ObjLine::NoCap, ObjLine::Dot);
        QRect ink = Pixels::ink(Pixels::paint(*l), 64);
        QVERIFY2(ink.height() >= 6 && ink.height() <= 8, qPrintable(QString::number(ink.height())));

        // The open arrowhead keeps the thin pen: its strokes stay one pixel wide.
        l->endCap = ObjLine::OpenArrow;
        const QImage img = Pixels::paint(*l);
        ink = Pixels::ink(img, 64);
        QVERIFY(ink.height() >= 11); // the strokes are 3 x (3 + 1) long
        QVERIFY(columnHeight(img, 240) <= 4);
    }

    void shadowFallsRightAndDown()
    {
        auto l = horizontal(4, ObjLine::NoCap, ObjLine::NoCap);
        l->colour = Qt::red;
        l->shadow = 1;
        const QImage img = Pixels::paint(*l);
        const QColor below = img.pixelColor(150, 102);
        QVERIFY(below.alpha() > 100 && below.alpha() < 160);
        QCOMPARE(below.red(), 0);
        QCOMPARE(img.pixelColor(150, 100), QColor(Qt::red));
        QCOMPARE(img.pixelColor(150, 97).alpha(), 0);
        QVERIFY(img.pixelColor(250, 101).alpha() > 0); // one pixel past the end
    }

    void paintRectHoldsEveryCap_data()
    {
        QTest::addColumn<int>("cap");
        for (int cap = 0; cap <= 5; ++cap)
            QTest::newRow(qPrintable(QString::number(cap))) << cap;
    }

    void paintRectHoldsEveryCap()
    {
        QFETCH(int, cap);
        ObjLine l;
        l.width = 9;
        l.shadow = 1;
        l.startCap = cap;
        l.endCap = cap;
        l.line = QLineF(150, 140, 110, 190);
        QVERIFY(l.paintRect().contains(Pixels::ink(Pixels::paint(l))));
    }

    void paintRectMargins()
    {
        ObjLine l;
        l.line = QLineF(10, 10, 110, 10);
        l.width = 4;
        l.endCap = ObjLine::OpenArrow;
        QCOMPARE(l.paintRect(), QRect(QPoint(-75, -75), QPoint(194, 94)));
        l.line = QLineF(110, 10, 10, 10);
        l.endCap = ObjLine::NoCap;
        QCOMPARE(l.paintRect(), QRect(QPoint(5, 5), QPoint(114, 14)));
    }
};

QTEST_GUILESS_MAIN(TestObjLine)
#include "test_objline.moc"
