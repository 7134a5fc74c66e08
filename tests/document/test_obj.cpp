#include "pixels.h"

#include "app/appstate.h"
#include "document/imagestatic.h"
#include "document/obj.h"
#include "document/objstroke.h"
#include "document/pixelround.h"

#include <QtTest>

class TestObj : public QObject
{
    Q_OBJECT

private slots:
    void init() { AppState::reset(); }

    void handlesFollowNormalisedRect()
    {
        Obj obj(QRectF(100, 100, 200, 100));
        QCOMPARE(obj.handleRect(3), QRectF(284, 84, 32, 32));
        QCOMPARE(obj.handleRect(9), QRectF(184, 52, 32, 32));
        // A rectangle inverted by a drag has the same handles.
        Obj inverted(QRectF(300, 200, -200, -100));
        for (int h = 1; h <= 9; ++h)
            QCOMPARE(inverted.handlePos(h), obj.handlePos(h));
    }

    void rotatedHandlesAndBounds()
    {
        Obj obj(QRectF(100, 100, 200, 100));
        obj.setAngle(90);
        // Clockwise: the top-left corner swings to the top-right.
        QVERIFY((obj.handlePos(1) - QPointF(250, 50)).manhattanLength() < 1e-3);
        const QRectF r = obj.rotatedRect();
        QVERIFY(qAbs(r.x() - 150) < 1e-3 && qAbs(r.y() - 50) < 1e-3);
        QVERIFY(qAbs(r.width() - 100) < 1e-3 && qAbs(r.height() - 200) < 1e-3);
        QVERIFY(obj.frameRect().contains(obj.handleRect(9)));
        // Rotating back is the inverse.
        const QPointF pt(123, 77);
        const QPointF back = obj.mapFromRotated(obj.mapToRotated(pt));
        QVERIFY(qAbs(back.x() - pt.x()) < 1e-3 && qAbs(back.y() - pt.y()) < 1e-3);
    }

    void cursorsTurnWithTheObject()
    {
        Obj obj(QRectF(0, 0, 100, 100));
        QCOMPARE(obj.handleCursor(2).shape(), Qt::SizeVerCursor);
        obj.setAngle(45);
        QCOMPARE(obj.handleCursor(2).shape(), Qt::SizeBDiagCursor);
        obj.setAngle(-45);
        QCOMPARE(obj.handleCursor(2).shape(), Qt::SizeFDiagCursor);
        obj.setAngle(90);
        QCOMPARE(obj.handleCursor(2).shape(), Qt::SizeHorCursor);
    }

    void rotateToSnaps_data()
    {
        QTest::addColumn<double>("pointer"); // degrees clockwise from straight up
        QTest::addColumn<float>("expected");
        QTest::newRow("within 2 of up") << 1.9 << 0.0f;
        QTest::newRow("45") << 45.0 << 45.0f;
        QTest::newRow("91") << 91.0 << 90.0f;
        QTest::newRow("below, right") << 179.5 << -180.0f;
        QTest::newRow("below, left") << -179.0 << -179.0f;
        QTest::newRow("-2.5") << -2.5 << -2.5f;
    }

    void rotateToSnaps()
    {
        QFETCH(double, pointer);
        QFETCH(float, expected);
        Obj obj(QRectF(100, 100, 200, 100));
        const double rad = qDegreesToRadians(pointer);
        obj.rotateTo(QPointF(200 + 80 * std::sin(rad), 150 - 80 * std::cos(rad)));
        QVERIFY2(qAbs(obj.angle - expected) < 0.01f, qPrintable(QString::number(obj.angle)));
        // The pointer on the centre gives no direction.
        obj.rotateTo(QPointF(200, 150));
        QCOMPARE(obj.angle, 0.0f);
    }

    void resizeHandleKeepsMinimumAndAspect()
    {
        Obj obj(QRectF(100, 100, 200, 100));
        obj.dragHandle(5, QPointF(50, 300), false);
        QCOMPARE(obj.rect.width(), 48.0);
        QVERIFY(qAbs(obj.rect.height() - 24) < 1e-4); // the ratio is taken in single precision

        Obj free(QRectF(100, 100, 200, 100));
        free.dragHandle(5, QPointF(0, 0), true);
        QCOMPARE(free.rect, QRectF(100, 100, 48, 48));
        free.dragHandle(5, QPointF(400, 350), true);
        QCOMPARE(free.rect, QRectF(100, 100, 300, 250));

        // A picture of no size has no ratio to keep and must not become NaN.
        Obj empty(QRectF(100, 100, 0, 0));
        empty.dragHandle(5, QPointF(300, 300), false);
        QCOMPARE(empty.rect, QRectF(100, 100, 200, 0));
    }

    void edgeHandlesMoveOneSide()
    {
        Obj obj(QRectF(100, 100, 200, 100));
        obj.dragHandle(1, QPointF(90, 80), false);
        QCOMPARE(obj.rect, QRectF(90, 80, 210, 120));
        obj.dragHandle(7, QPointF(120, 250), false);
        QCOMPARE(obj.rect, QRectF(120, 80, 180, 170));
        obj.dragHandle(4, QPointF(50, 0), false); // past the left edge: inverted until normalised
        QCOMPARE(obj.rect.width(), -70.0);
        obj.dragHandle(9, QPointF(obj.rect.center().x() + 100, obj.rect.center().y()), false);
        QCOMPARE(obj.angle, 90.0f);
    }

    void normalizeKeepsThePictureInPlace()
    {
        Obj obj(QRectF(100, 100, 200, 100));
        obj.setAngle(90);
        obj.dragHandle(4, QPointF(200, 300), false);
        QVERIFY(qAbs(obj.rect.width() - 250) < 1e-3);
        QPointF before[10];
        for (int h = 1; h <= 8; ++h)
            before[h] = obj.handlePos(h);
        obj.normalize();
        QVERIFY(qAbs(obj.centre.x() - obj.rect.center().x()) < 1e-3);
        QVERIFY(qAbs(obj.centre.y() - obj.rect.center().y()) < 1e-3);
        for (int h = 1; h <= 8; ++h) {
            const QPointF d = obj.handlePos(h) - before[h];
            QVERIFY2(d.manhattanLength() < 1e-2, qPrintable(QString::number(h)));
        }
    }

    void clampedMoveStaysReachable()
    {
        const QSize page(800, 600);
        Obj obj(QRectF(100.5, 100, 200.7, 100));
        const QRectF start = obj.rect;
        QPointF applied = obj.moveByClamped(QPointF(-1000, 0), page);
        QCOMPARE(applied, QPointF(24 - 100.5 - 200, 0));
        QCOMPARE(obj.rect.topLeft(), start.topLeft() + applied);
        QVERIFY(obj.rect.right() >= 24 && obj.rect.right() < 25);

        Obj down(QRectF(100, 100, 200, 100));
        applied = down.moveByClamped(QPointF(5, 1000), page);
        QCOMPARE(applied, QPointF(5, 476));
        QCOMPARE(down.rect.y(), 576.0); // its top edge 24 px inside the bottom border
        QCOMPARE(down.centre, down.rect.center());

        Obj free(QRectF(100, 100, 200, 100));
        QCOMPARE(free.moveByClamped(QPointF(-1000, 5000), QSize()), QPointF(-1000, 5000));
    }

    void hitsOnlyFloatingHandles()
    {
        ObjStroke stroke;
        stroke.rect = QRectF(100, 100, 200, 100);
        QCOMPARE(stroke.hitTest(stroke.handlePos(3), true), 0);
        QCOMPARE(stroke.hitTest(QPointF(150, 150), false), 0);

        ImageStatic image(QRectF(100, 100, 200, 100));
        QCOMPARE(image.hitTest(image.handlePos(5), true), 5);
        QCOMPARE(image.hitTest(image.handlePos(9) + QPointF(10, 10), true), 9);
        QCOMPARE(image.hitTest(image.handlePos(1), true), 0);
        image.resizable = false;
        QCOMPARE(image.hitTest(image.handlePos(5), true), 0);
    }

    void cloneKeepsRotationOrigin()
    {
        Obj obj(QRectF(100, 100, 200, 100));
        obj.setAngle(30);
        obj.dragHandle(4, QPointF(400, 260), false); // rect changes, centre does not
        std::unique_ptr<Obj> copy(obj.clone());
        QCOMPARE(copy->rect, obj.rect);
        QCOMPARE(copy->centre, obj.centre);
        QVERIFY(copy->centre != copy->rect.center());
        QCOMPARE(copy->angle, 30.0f);
    }

    void roundsHalvesUpwards()
    {
        QCOMPARE(PixelRound::round(2.5), 3);
        QCOMPARE(PixelRound::round(-2.5), -2);
        Obj obj(QRectF(-2.5, 0.5, 10.5, 4.4));
        QCOMPARE(obj.paintRect(), QRect(-5, -2, 17, 10));
    }

    void frameShowsItsPictures()
    {
        ImageStatic image(QRectF(60, 100, 150, 100));
        QImage img = Pixels::blank();
        QPainter p(&img);
        image.paintFrame(&p);
        p.end();
        // The delete button: a grey disc with a white cross.
        const QColor disc = img.pixelColor(QPoint(210 + 8, 100));
        QVERIFY2(disc.alpha() == 255 && qAbs(disc.red() - 120) < 20 && disc.red() == disc.blue(),
                 qPrintable(disc.name()));
        QCOMPARE(img.pixelColor(210, 100), QColor(Qt::white));
        QCOMPARE(img.pixelColor(QPoint(135, 68)), QColor(26, 211, 176));
        QCOMPARE(img.pixelColor(QPoint(210, 200)), QColor(Qt::white));
        QVERIFY(img.pixelColor(QPoint(135, 100)).alpha() > 100); // the outline
        QCOMPARE(img.pixelColor(QPoint(135, 150)).alpha(), 0);
    }
};

QTEST_GUILESS_MAIN(TestObj)
#include "test_obj.moc"
