#include "canvas/linetool.h"
#include "canvas/shapetool.h"
#include "canvasfixture.h"
#include "document/objline.h"
#include "document/objshape.h"

#include <QMouseEvent>

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
        QTest::mousePress(canvas->view, Qt::LeftButton, Qt::NoModifier, start);
        QTest::mouseMove(canvas->view, start + QPoint(40, 40));
        QTest::mouseRelease(canvas->view, Qt::LeftButton, Qt::ShiftModifier, start + offset);

        auto *line = canvas->lastObject<ObjLine>();
        QVERIFY(line);
        QVERIFY(qAbs(line->line.angle() - angle) < 1e-6);
        QVERIFY(qAbs(line->line.length() - QLineF(QPointF(), offset).length()) < 1e-6);
        const QPointF mid = line->line.center();
        QVERIFY(canvas->layerAlpha(qRound(mid.x()), qRound(mid.y())) > 128);
    }

    void pressAndReleaseInPlaceCreateNothing()
    {
        for (int id : { int(ToolKit::Line), int(ToolKit::Shape) }) {
            ToolKit::instance().setCurrentTool(id);
            QTest::mouseClick(canvas->view, Qt::LeftButton, Qt::NoModifier, QPoint(60 * id, 100));
        }
        QVERIFY(canvas->objects().isEmpty());
    }

    void shapeModifiers_data()
    {
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QRectF>("rect");
        // All from a press at (200, 200) to a release at (230, 210).
        QTest::newRow("none") << int(Qt::NoModifier) << QRectF(200, 200, 30, 10);
        QTest::newRow("shift: square") << int(Qt::ShiftModifier) << QRectF(200, 200, 30, 30);
        QTest::newRow("ctrl: centred") << int(Qt::ControlModifier) << QRectF(170, 190, 60, 20);
        QTest::newRow("both: centred square")
            << int(Qt::ShiftModifier | Qt::ControlModifier) << QRectF(170, 170, 60, 60);
    }

    void shapeModifiers()
    {
        QFETCH(int, modifiers);
        QFETCH(QRectF, rect);
        ToolKit::instance().setCurrentTool(ToolKit::Shape);
        QTest::mousePress(canvas->view, Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
        QTest::mouseMove(canvas->view, QPoint(215, 220));
        QTest::mouseRelease(canvas->view, Qt::LeftButton, Qt::KeyboardModifiers(modifiers),
                            QPoint(230, 210));
        auto *shape = canvas->lastObject<ObjShape>();
        QVERIFY(shape);
        QCOMPARE(canvas->objects().size(), 1);
        QCOMPARE(shape->rect, rect);
        QCOMPARE(shape->centre, rect.center());
    }

    void shapeUpAndLeftKeepsNegativeSize()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Shape);
        canvas->drag({ QPoint(300, 300), QPoint(250, 260) });
        auto *shape = canvas->lastObject<ObjShape>();
        QVERIFY(shape);
        QCOMPARE(shape->rect, QRectF(300, 300, -50, -40));
        // The figure lands where it was dragged all the same.
        QVERIFY(canvas->layerAlpha(250, 280) > 128);
    }

    void shapeCentreMarkShowsOnlyInCentreMode()
    {
        ToolKit::instance().shapeTool()->shapeTemplate.colour = Qt::blue;
        ToolKit::instance().setCurrentTool(ToolKit::Shape);
        const QPoint centre(400, 400);
        QTest::mousePress(canvas->view, Qt::LeftButton, Qt::NoModifier, centre);
        for (Qt::KeyboardModifiers mods : { Qt::NoModifier, Qt::ControlModifier }) {
            const QPointF to(460, 440);
            QMouseEvent move(QEvent::MouseMove, to, canvas->view->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, mods);
            QApplication::sendEvent(canvas->view, &move);
            const QImage shot = canvas->view->grab().toImage();
            // The mark is cyan in difference mode: red over the white page
            // (white again where its two strokes cross).
            const bool marked = shot.pixel(centre + QPoint(2, 0)) == qRgb(255, 0, 0);
            QCOMPARE(marked, mods == Qt::ControlModifier);
        }
        QTest::mouseRelease(canvas->view, Qt::LeftButton, Qt::NoModifier, QPoint(460, 440));
    }
};

QTEST_MAIN(TestLineShapeTools)
#include "test_lineshapetools.moc"
