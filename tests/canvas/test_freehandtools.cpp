#include "canvas/erasertool.h"
#include "canvas/highlightertool.h"
#include "canvas/pentool.h"
#include "canvasfixture.h"
#include "document/objectcodec.h"
#include "document/objectrecord.h"
#include "document/objeraser.h"
#include "document/pagerenderer.h"

// The highlighter and the eraser, with the mouse and with the stylus's
// eraser end.
class TestFreehandTools : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;

    void penLine(int y)
    {
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        canvas->drag({ QPoint(100, y), QPoint(200, y), QPoint(300, y), QPoint(400, y) });
    }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
        ToolKit::instance().penTool()->strokeTemplate.width = 20;
        ToolKit::instance().eraserTool()->eraserTemplate.width = 30;
    }

    void cleanup() { canvas.reset(); }

    void clicksWithoutMovementCreateNothing()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        canvas->click(QPoint(50, 50), Qt::ControlModifier); // no zero-length segment
        for (int id : { ToolKit::Highlighter, ToolKit::Eraser, ToolKit::Line, ToolKit::Shape }) {
            ToolKit::instance().setCurrentTool(id);
            canvas->click(QPoint(60 * id, 100));
        }
        QVERIFY(canvas->objects().isEmpty());
        QCOMPARE(canvas->commands(), 0);
    }

    // A gesture longer than a document keeps in one stroke or erasure is kept
    // in parts: each opens again, and the page repaints as it was drawn.
    void longGesturesAreKeptInPartsThatOpenAgain()
    {
        for (int id : { ToolKit::Pen, ToolKit::Highlighter, ToolKit::Eraser }) {
            ToolKit::instance().setCurrentTool(id);
            canvas->press(QPoint(100, 100 + 40 * id));
            for (int i = 1; i <= 70000; ++i)
                canvas->send(QEvent::MouseMove, QPointF(100 + 5 * (i % 40), 100 + 40 * id + i % 7),
                             Qt::LeftButton);
            canvas->release(QPoint(100, 120 + 40 * id));
        }
        QCOMPARE(canvas->objects().size(), 4 + 2 + 3);
        for (const Obj *obj : canvas->objects()) {
            ObjectRecord record;
            QString picture;
            QCOMPARE(ObjectCodec::decode(ObjectCodec::encode(ObjectRecord::of(obj), QString()),
                                         &record, &picture),
                     ObjectCodec::Read);
        }
        const QImage live = canvas->view->layer()->copy();
        canvas->view->updateObjectCache(canvas->page(), QRect());
        QCOMPARE(*canvas->view->layer(), live);
    }

    void highlighterCrossingItselfDoesNotDarken()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Highlighter);
        canvas->press(QPoint(100, 200));
        canvas->move(QPoint(300, 200));
        QCOMPARE(canvas->layerAlpha(200, 200), 0); // a preview until release
        canvas->release(QPoint(200, 200));

        auto *stroke = canvas->lastObject<ObjStroke>();
        QVERIFY(stroke);
        QCOMPARE(stroke->strokeKind, int(ObjStroke::Highlighter));
        QCOMPARE(stroke->path.elementCount(), 3);
        // The way back retraces 200 to 300.
        const int once = canvas->layerAlpha(150, 200);
        QVERIFY2(once > 80 && once < 120, qPrintable(QString::number(once)));
        QCOMPARE(canvas->layerAlpha(250, 200), once);
    }

    void eraserClearsTheLayerButNotImagesAndUndoBringsItBack()
    {
        canvas->addImage(QPointF(200, 250), QSize(100, 100), Qt::green);
        penLine(300);
        ToolKit::instance().setCurrentTool(ToolKit::Eraser);
        canvas->drag({ QPoint(250, 250), QPoint(250, 300), QPoint(250, 350) });
        auto *eraser = canvas->lastObject<ObjEraser>();
        QVERIFY(eraser);
        QCOMPARE(eraser->points.size(), 6); // two moves and the release
        QCOMPARE(canvas->layerAlpha(250, 300), 0);
        QVERIFY(canvas->layerAlpha(150, 300) > 128);
        const QImage rendered = PageRenderer::renderPage(canvas->page());
        QCOMPARE(rendered.pixel(250, 300), QColor(Qt::green).rgb());
        QCOMPARE(rendered.pixel(120, 300), QColor(Qt::black).rgb()); // the pen outside
        QVERIFY(canvas->view->document().undo());
        QVERIFY(canvas->layerAlpha(250, 300) > 128);
    }

    void stylusEraserEndErasesThenPreviousToolReturns()
    {
        AppState::instance().supportPenAndTouch = true;
        penLine(300);
        ToolKit::instance().setCurrentTool(ToolKit::Line);
        canvas->tablet(QEvent::TabletPress, QPointF(250, 250), 0.5, true);
        QCOMPARE(ToolKit::instance().currentToolId(), int(ToolKit::Eraser));
        canvas->tablet(QEvent::TabletMove, QPointF(250, 300), 0.5, true);
        canvas->tablet(QEvent::TabletRelease, QPointF(250, 350), 0, true);

        QCOMPARE(ToolKit::instance().currentToolId(), int(ToolKit::Line));
        QVERIFY(canvas->lastObject<ObjEraser>());
        QCOMPARE(canvas->layerAlpha(250, 300), 0);
    }
};

QTEST_MAIN(TestFreehandTools)
#include "test_freehandtools.moc"
