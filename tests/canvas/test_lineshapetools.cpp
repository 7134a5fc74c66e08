#include "canvas/linetool.h"
#include "canvas/shapetool.h"
#include "canvasfixture.h"
#include "document/objline.h"
#include "document/objshape.h"

// Lines with Shift snapping, and shapes dragged from a corner or the centre.
class TestLineShapeTools : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
    }

    void cleanup() { canvas.reset(); }

    void shiftSnapsLinesDownToSteps_data()
    {
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<double>("angle");
        QTest::newRow("30.1 degrees") << QPoint(100, -58) << 30.0;
        QTest::newRow("26.6 degrees") << QPoint(100, -50) << 15.0;
        QTest::newRow("333.4 degrees") << QPoint(100, 50) << 330.0;
    }

    void shiftSnapsLinesDownToSteps()
    {
        QFETCH(QPoint, offset);
        QFETCH(double, angle);
        ToolKit::instance().setCurrentTool(ToolKit::Line);
        const QPoint start(200, 300);
        canvas->press(start);
        canvas->move(start + QPoint(40, 40));
        canvas->release(start + offset, Qt::ShiftModifier);

        auto *line = canvas->lastObject<ObjLine>();
        QVERIFY(line);
        QVERIFY(qAbs(line->line.angle() - angle) < 1e-6);
        QVERIFY(qAbs(line->line.length() - QLineF(QPointF(), offset).length()) < 1e-6);
        const QPointF mid = line->line.center();
        QVERIFY(canvas->layerAlpha(qRound(mid.x()), qRound(mid.y())) > 128);
    }

    void shapeModifiers_data()
    {
        QTest::addColumn<QPoint>("end");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QRectF>("rect");
        // All from a press at (200, 200).
        QTest::newRow("none") << QPoint(230, 210) << int(Qt::NoModifier)
                              << QRectF(200, 200, 30, 10);
        QTest::newRow("shift: square")
            << QPoint(230, 210) << int(Qt::ShiftModifier) << QRectF(200, 200, 30, 30);
        QTest::newRow("ctrl: centred")
            << QPoint(230, 210) << int(Qt::ControlModifier) << QRectF(170, 190, 60, 20);
        QTest::newRow("both: centred square")
            << QPoint(230, 210) << int(Qt::ShiftModifier | Qt::ControlModifier)
            << QRectF(170, 170, 60, 60);
        QTest::newRow("up and left: negative size")
            << QPoint(150, 160) << int(Qt::NoModifier) << QRectF(200, 200, -50, -40);
    }

    void shapeModifiers()
    {
        QFETCH(QPoint, end);
        QFETCH(int, modifiers);
        QFETCH(QRectF, rect);
        ToolKit::instance().setCurrentTool(ToolKit::Shape);
        canvas->press(QPoint(200, 200));
        canvas->move(QPoint(215, 220));
        canvas->release(end, Qt::KeyboardModifiers(modifiers));
        auto *shape = canvas->lastObject<ObjShape>();
        QVERIFY(shape);
        QCOMPARE(canvas->objects().size(), 1);
        QCOMPARE(shape->rect, rect);
        QCOMPARE(shape->centre, rect.center());
        // The figure lands where it was dragged, whichever way.
        const QRectF drawn = rect.normalized();
        QVERIFY(canvas->layerAlpha(drawn.left(), drawn.center().y()) > 128);
    }

    void shapeCentreMarkShowsOnlyInCentreMode()
    {
        ToolKit::instance().shapeTool()->shapeTemplate.colour = Qt::blue;
        ToolKit::instance().setCurrentTool(ToolKit::Shape);
        const QPoint centre(400, 400);
        canvas->press(centre);
        for (Qt::KeyboardModifiers mods : { Qt::NoModifier, Qt::ControlModifier }) {
            canvas->send(QEvent::MouseMove, QPointF(460, 440), Qt::LeftButton, mods);
            const QImage shot = canvas->view->grab().toImage();
            // The mark is cyan in difference mode: red over the white page
            // (white again where its two strokes cross).
            const bool marked = shot.pixel(centre + QPoint(2, 0)) == qRgb(255, 0, 0);
            QCOMPARE(marked, mods == Qt::ControlModifier);
        }
        canvas->release(QPoint(460, 440));
    }
};

QTEST_MAIN(TestLineShapeTools)
#include "test_lineshapetools.moc"
