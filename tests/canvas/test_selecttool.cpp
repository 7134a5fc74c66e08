#include "canvas/selecttool.h"
#include "canvasfixture.h"
#include "document/pagerenderer.h"

#include <QSignalSpy>
#include <QTimer>

// Drives a real canvas with mouse events, as the user would.
class TestSelectTool : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;

    SelectTool *tool() const { return ToolKit::instance().selectTool(); }
    QList<Obj *> selected() const { return tool()->selectedObjects(); }
    bool undo() const { return canvas->view->document().undo(); }
    void selectBoth(Obj *a, Obj *b)
    {
        canvas->view->addToSelection(a);
        canvas->view->addToSelection(b);
    }

private slots:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
        ToolKit::instance().setCurrentTool(ToolKit::Select);
    }

    void cleanup()
    {
        canvas->view->clearAll(false);
        canvas.reset();
    }

    void clickSelectsAndDraggingAnUnselectedImageLeavesItUnselected()
    {
        ImageStatic *image = canvas->addImage(QPointF(100, 100));
        const QColor rotateHandle(26, 211, 176);
        canvas->press(QPoint(150, 140));
        QVERIFY(canvas->shown(image->handlePos(9)) != rotateHandle);
        canvas->release(QPoint(150, 140));
        QCOMPARE(selected(), QList<Obj *> { image });
        QCOMPARE(canvas->shown(image->handlePos(9)), rotateHandle);
        canvas->click(QPoint(600, 400)); // a lasso click clears the selection
        QVERIFY(selected().isEmpty());
        QVERIFY(!tool()->hasRasterSelection());
        QCOMPARE(canvas->commands(), 1);

        ImageStatic *other = canvas->addImage(QPointF(400, 100));
        canvas->drag({ QPoint(450, 140), QPoint(500, 200) }); // one move is enough to drag
        QCOMPARE(other->rect, QRectF(450, 160, 100, 80));
        QVERIFY(selected().isEmpty());
        QVERIFY(undo());
        QCOMPARE(other->rect, QRectF(400, 100, 100, 80));
    }

    void draggingASelectedImageMovesTheWholeSelection()
    {
        ImageStatic *first = canvas->addImage(QPointF(100, 100));
        ImageStatic *second = canvas->addImage(QPointF(300, 300));
        selectBoth(first, second);
        canvas->drag({ QPoint(150, 140), QPoint(153, 141), QPoint(170, 150) });
        QCOMPARE(first->rect.topLeft(), QPointF(120, 110));
        QCOMPARE(second->rect.topLeft(), QPointF(320, 310));
        QCOMPARE(selected(), (QList<Obj *> { first, second }));
    }

    void withTwoSelectedOnlyTheRotateHandleActs()
    {
        ImageStatic *first = canvas->addImage(QPointF(100, 100));
        ImageStatic *second = canvas->addImage(QPointF(300, 300));
        second->setAngle(10);
        selectBoth(first, second);
        const QPoint resize = first->handlePos(5).toPoint() + QPoint(10, 10);
        canvas->send(QEvent::MouseMove, resize, Qt::NoButton); // hover
        QCOMPARE(canvas->view->cursor().shape(), Qt::ArrowCursor);
        canvas->drag({ resize, resize + QPoint(40, 40) });
        QCOMPARE(first->rect, QRectF(100, 100, 100, 80));

        canvas->click(QPoint(600, 500)); // drops what the drag lassoed
        selectBoth(first, second);
        const int before = canvas->commands();
        canvas->drag({ first->handlePos(9).toPoint(), QPoint(200, 40), QPoint(250, 40) });
        QCOMPARE(first->angle, 45.0f);
        QCOMPARE(second->angle, 55.0f);
        QCOMPARE(canvas->commands(), before + 1);
        QVERIFY(undo());
        QCOMPARE(first->angle, 0.0f);
        QCOMPARE(second->angle, 10.0f);
    }

    void handlesPushOnlyWhatTheyChange()
    {
        ImageStatic *image = canvas->addImage(QPointF(100, 100));
        canvas->click(QPoint(150, 140));
        canvas->click(image->handlePos(9).toPoint());
        canvas->click(image->handlePos(5).toPoint());
        QCOMPARE(canvas->commands(), 1);
        QCOMPARE(image->rect, QRectF(100, 100, 100, 80));
        QCOMPARE(image->angle, 0.0f);

        canvas->drag({ QPoint(200, 180), QPoint(230, 190), QPoint(250, 200) });
        QCOMPARE(image->rect.topLeft(), QPointF(100, 100));
        QCOMPARE(image->rect.size().toSize(), QSize(150, 120)); // the ratio is kept
        QVERIFY(undo());
        QCOMPARE(image->rect, QRectF(100, 100, 100, 80));

        canvas->click(QPoint(150, 140));
        canvas->click(image->handlePos(3).toPoint());
        QVERIFY(!canvas->objects().contains(image));
        QVERIFY(selected().isEmpty());
        ToolKit::instance().setCurrentTool(ToolKit::Mouse);
        QVERIFY(undo());
        QCOMPARE(canvas->objects(), QList<Obj *> { image });
        QVERIFY(selected().isEmpty()); // nothing left to go stale
    }

    void movesStayOnTheCanvasAndOnThePage()
    {
        ImageStatic *image = canvas->addImage(QPointF(100, 100));
        canvas->press(QPoint(150, 140));
        canvas->move(QPoint(200, 180));
        canvas->move(QPoint(-20, 180));
        QCOMPARE(canvas->view->cursor().shape(), Qt::ForbiddenCursor);
        canvas->release(QPoint(-20, 180));
        QCOMPARE(image->rect.topLeft(), QPointF(150, 140));

        // Near the right page border the move is shortened; undo takes back
        // exactly what was applied.
        const int right = canvas->page()->size.width();
        ImageStatic *edge = canvas->addImage(QPointF(right - 130, 300));
        canvas->drag({ QPoint(right - 128, 340), QPoint(right - 2, 340) });
        QCOMPARE(edge->rect.left(), right - 24);
        QVERIFY(undo());
        QCOMPARE(edge->rect.topLeft(), QPointF(right - 130, 300));
    }

    void ctrlDragMovesACopy()
    {
        ImageStatic *image = canvas->addImage(QPointF(100, 100));
        canvas->click(QPoint(150, 140));
        canvas->drag({ QPoint(150, 140), QPoint(200, 190) }, Qt::ControlModifier);
        QCOMPARE(canvas->objects().size(), 2);
        Obj *copy = canvas->objects().last();
        QCOMPARE(image->rect.topLeft(), QPointF(100, 100));
        QCOMPARE(copy->rect.topLeft(), QPointF(150, 150));
        QCOMPARE(selected(), QList<Obj *> { copy });
        QVERIFY(undo());
        QCOMPARE(copy->rect.topLeft(), QPointF(100, 100));
        QVERIFY(undo());
        QCOMPARE(canvas->objects(), QList<Obj *> { image });
    }

    // A tool switch during a drag puts the image back. (A second button is
    // the tool test's.)
    void toolSwitchDuringADragPutsTheImageBack()
    {
        ImageStatic *image = canvas->addImage(QPointF(100, 100));
        canvas->press(QPoint(150, 140));
        canvas->move(QPoint(250, 240));
        ToolKit::instance().setCurrentTool(ToolKit::Mouse);
        QCOMPARE(image->rect.topLeft(), QPointF(100, 100));
        canvas->release(QPoint(250, 240));
        QCOMPARE(canvas->commands(), 1);
    }

    void lassoLiftsOnlyTheLayerPixelsInside()
    {
        canvas->addStroke(QPointF(100, 300), QPointF(500, 300));
        const QImage original = canvas->view->layer()->copy();
        auto *ants = tool()->findChild<QTimer *>();
        QVERIFY(ants);
        QVERIFY(!ants->isActive());
        const QRect inside(200, 280, 100, 40);
        canvas->drag({ inside.topLeft(), QPoint(250, 300), inside.bottomRight() + QPoint(1, 1) },
                     Qt::ShiftModifier);
        QVERIFY(tool()->hasRasterSelection());
        for (const QPoint &pt : { QPoint(200, 300), QPoint(299, 290), QPoint(250, 319) })
            QCOMPARE(canvas->layerAlpha(pt.x(), pt.y()), 0);
        for (const QPoint &pt : { QPoint(199, 300), QPoint(300, 300), QPoint(250, 279) })
            QCOMPARE(canvas->view->layer()->pixelColor(pt), original.pixelColor(pt));
        const QColor floating = canvas->shown(QPoint(250, 300)); // under the ants' tint
        QVERIFY(floating.red() > 200 && floating.green() < 120);
        QVERIFY(ants->isActive());
        QSignalSpy ticks(ants, &QTimer::timeout);
        QVERIFY(ticks.wait());

        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        QVERIFY(!tool()->hasRasterSelection());
        QVERIFY(!ants->isActive());
        QCOMPARE(*canvas->view->layer(), original);
        QCOMPARE(canvas->commands(), 1);
    }

    void aDraggedSelectionMovesPixelsButNotImages()
    {
        ImageStatic *image = canvas->addImage(QPointF(150, 250));
        canvas->addStroke(QPointF(100, 300), QPointF(500, 300));
        const QImage original = canvas->view->layer()->copy();
        canvas->drag({ QPoint(120, 260), QPoint(280, 260), QPoint(280, 340), QPoint(120, 340) });
        canvas->drag({ QPoint(200, 300), QPoint(200, 420), QPoint(200, 450) });
        QCOMPARE(canvas->commands(), 3);
        canvas->drag({ QPoint(200, 450), QPoint(200, 480), QPoint(200, 500) });
        QCOMPARE(canvas->commands(), 4);
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        const QImage moved = PageRenderer::renderPage(canvas->page());
        QCOMPARE(moved.pixelColor(200, 500), QColor(Qt::red));
        QCOMPARE(moved.pixelColor(200, 300), QColor(Qt::blue));
        QCOMPARE(moved.pixelColor(400, 300), QColor(Qt::red));
        QCOMPARE(canvas->objects().first(), image);

        QVERIFY(undo());
        QCOMPARE(canvas->view->layer()->pixelColor(200, 450), QColor(Qt::red));
        QCOMPARE(canvas->layerAlpha(200, 500), 0);
        QVERIFY(undo());
        QCOMPARE(*canvas->view->layer(), original);
    }

    void pastesLandAtTheSameOffset()
    {
        ImageStatic *image = canvas->addImage(QPointF(100, 100));
        canvas->click(QPoint(150, 140));
        tool()->cutSelection(canvas->view);
        QVERIFY(!canvas->objects().contains(image));
        tool()->pasteClipboard(canvas->view);
        tool()->pasteClipboard(canvas->view);
        QCOMPARE(canvas->objects().size(), 2);
        for (const Obj *copy : canvas->objects())
            QCOMPARE(copy->rect, QRectF(110, 110, 100, 80));
        QCOMPARE(selected(), QList<Obj *> { canvas->objects().last() });
    }
};

QTEST_MAIN(TestSelectTool)
#include "test_selecttool.moc"
