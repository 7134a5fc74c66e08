#include "pixels.h"

#include "document/objshape.h"

#include <QtTest>

class TestObjShape : public QObject
{
    Q_OBJECT

private slots:
    void everyFigureIgnoresDragDirection_data()
    {
        QTest::addColumn<int>("type");
        for (int type = ObjShape::Ellipse; type <= ObjShape::Cross; ++type)
            QTest::newRow(qPrintable(QString::number(type))) << type;
    }

    void everyFigureIgnoresDragDirection()
    {
        QFETCH(int, type);
        ObjShape forward;
        forward.shapeType = type;
        forward.width = 6;
        forward.shadow = 1;
        forward.fill = Qt::yellow;
        forward.rect = QRectF(50, 40, 200, 150);
        std::unique_ptr<ObjShape> backward(static_cast<ObjShape *>(forward.clone()));
        backward->rect = QRectF(250, 190, -200, -150);
        const QImage img = Pixels::paint(forward);
        const QRect ink = Pixels::ink(img);
        QVERIFY(!ink.isNull());
        QVERIFY(forward.paintRect().contains(ink));
        QVERIFY(QRect(40, 30, 220, 170).contains(ink));
        QCOMPARE(Pixels::paint(*backward), img);
    }

    void unknownFigurePaintsNothing()
    {
        ObjShape shape;
        shape.rect = QRectF(50, 40, 200, 150);
        for (int type : { -1, 18, 99 }) {
            shape.shapeType = type;
            QVERIFY(Pixels::ink(Pixels::paint(shape)).isNull());
        }
    }

    void figuresHaveTheirOutline()
    {
        ObjShape shape;
        shape.width = 2;
        shape.fill = Qt::blue;
        shape.rect = QRectF(50, 50, 200, 200);
        shape.shapeType = ObjShape::Arrow; // points up: narrow at the top
        QImage img = Pixels::paint(shape);
        QVERIFY(Pixels::alphaAt(img, 150, 56) > 0);
        QCOMPARE(Pixels::alphaAt(img, 60, 56), 0);
        QCOMPARE(Pixels::alphaAt(img, 60, 240), 0); // the shaft is half as wide
        QVERIFY(Pixels::alphaAt(img, 150, 240) > 0);

        // A new shape is a rounded rectangle: the corners stay empty.
        ObjShape rounded;
        rounded.fill = Qt::blue;
        rounded.rect = shape.rect;
        img = Pixels::paint(rounded);
        QCOMPARE(Pixels::alphaAt(img, 55, 55), 0);
        QVERIFY(Pixels::alphaAt(img, 150, 55) > 0);
        QCOMPARE(img.pixelColor(150, 150), QColor(Qt::blue));

        // The speech bubble's tail hangs below its body on the left.
        rounded.shapeType = ObjShape::OvalBubble;
        img = Pixels::paint(rounded);
        QVERIFY(Pixels::alphaAt(img, 102, 240) > 0);
        QCOMPARE(Pixels::alphaAt(img, 200, 240), 0);
    }

    void opacityAppliesToOutlineFillAndShadow()
    {
        ObjShape shape;
        shape.shapeType = ObjShape::Rectangle;
        shape.rect = QRectF(50, 50, 200, 200);
        shape.width = 4;
        shape.colour = Qt::black;
        shape.fill = Qt::red;
        shape.opacity = 50;
        shape.shadow = 1;
        const QImage img = Pixels::paint(shape);
        QVERIFY(qAbs(Pixels::alphaAt(img, 150, 150) - 128) <= 2);
        QVERIFY(qAbs(Pixels::alphaAt(img, 150, 48) - 128) <= 2); // outline alone
        // Past the outline the translucent shadow shows at half strength too.
        QVERIFY(qAbs(Pixels::alphaAt(img, 150, 252) - 64) <= 3);
        QCOMPARE(Pixels::alphaAt(img, 150, 254), 0);
    }
};

QTEST_GUILESS_MAIN(TestObjShape)
#include "test_objshape.moc"
