#include "canvas/pentool.h"
#include "canvasfixture.h"
#include "document/objline.h"

// The pen: freehand strokes painted piece by piece, stylus brushes and
// straight segments.
class TestPenTool : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;

    PenTool *pen() const { return ToolKit::instance().penTool(); }

    // Records the areas the canvas repaints.
    class PaintSpy : public QObject
    {
    public:
        QRegion painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted += static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    };

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
        pen()->strokeTemplate.width = pen()->lineTemplate.width = 10;
        pen()->strokeTemplate.colour = pen()->lineTemplate.colour = Qt::blue;
    }

    void cleanup() { canvas.reset(); }

    void clickLeavesRoundDotThatUndoClears()
    {
        canvas->click(QPoint(100, 100));
        QCOMPARE(canvas->objects().size(), 1);
        const QRect ink = canvas->inkBox(QRect(80, 80, 40, 40), 128);
        QVERIFY2(ink.width() >= 9 && ink.width() <= 11, qPrintable(QString::number(ink.width())));
        QVERIFY(ink.height() >= 9 && ink.height() <= 11);
        QVERIFY(ink.contains(100, 100));
        QCOMPARE(canvas->layerAlpha(ink.left(), ink.top()), 0); // round, not square
        QCOMPARE(canvas->commands(), 1);
        QVERIFY(canvas->view->document().undo());
        QCOMPARE(canvas->layerAlpha(100, 100), 0);
        QVERIFY(canvas->view->document().redo());
        QVERIFY(canvas->layerAlpha(100, 100) > 128);
    }

    // A thick stroke repainted from the page (a full rebuild, as after a page
    // switch, and a rebuild of a part) equals the one drawn live, pixel for
    // pixel: no light ring where the first curve leaves the press dot.
    void thickStrokeRepaintsAsDrawnLive()
    {
        pen()->strokeTemplate.width = 27;
        canvas->press(QPoint(200, 200));
        for (int i = 1; i <= 12; ++i)
            canvas->send(QEvent::MouseMove, QPointF(200 + 5 * i, 200 + i * i / 3.0),
                         Qt::LeftButton);
        canvas->release(QPoint(270, 250));
        const QImage live = canvas->view->layer()->copy();
        canvas->view->updateObjectCache(canvas->page(), QRect());
        QCOMPARE(*canvas->view->layer(), live);
        canvas->view->updateObjectCache(canvas->page(), QRect(180, 180, 30, 30));
        QCOMPARE(*canvas->view->layer(), live);
    }

    void strokeSkipsShortMovesAndEndsAtLastMidpoint()
    {
        canvas->press(QPoint(100, 100));
        canvas->move(QPoint(103, 97));
        canvas->move(QPoint(97, 103));
        QCOMPARE(pen()->strokeTemplate.path.elementCount(), 2);
        canvas->move(QPoint(120, 100));
        canvas->move(QPoint(140, 110));
        canvas->move(QPoint(142, 112));
        canvas->release(QPoint(150, 110));

        auto *stroke = canvas->lastObject<ObjStroke>();
        QVERIFY(stroke);
        QCOMPARE(stroke->strokeKind, int(ObjStroke::Pen));
        QVERIFY(stroke->pressures.isEmpty());
        // Two moves kept, then the release; a quadratic curve is stored as three elements.
        QCOMPARE(stroke->path.elementCount(), 2 + 3 * 3);
        QCOMPARE(stroke->path.currentPosition(), QPointF(145, 110));
        QVERIFY(canvas->layerAlpha(130, 105) > 128);
        QCOMPARE(canvas->layerAlpha(152, 110), 0); // short of the release point
    }

    void movePaintsAndRepaintsOnlyItsPiece()
    {
        PaintSpy spy;
        canvas->view->installEventFilter(&spy);
        canvas->press(QPoint(50, 300));
        for (int x = 70; x <= 590; x += 20)
            canvas->move(QPoint(x, 300));
        QCoreApplication::processEvents();
        spy.painted = QRegion();
        canvas->move(QPoint(620, 300));
        QCoreApplication::processEvents();

        // The layer already holds the piece; the repaint covers the piece
        // between the last two midpoints (580 to 605) and the pen's width.
        QVERIFY(canvas->layerAlpha(600, 300) > 128);
        const QRect painted = spy.painted.boundingRect();
        QVERIFY(!painted.isEmpty());
        QVERIFY(painted.left() >= 570 && painted.right() <= 615 && painted.height() < 20);
        canvas->release(QPoint(620, 300));
    }

    void stylusStrokeIsBrushWithPressures()
    {
        AppState::instance().supportPenAndTouch = true;
        canvas->tablet(QEvent::TabletPress, QPointF(100, 200), 0.5);
        canvas->tablet(QEvent::TabletMove, QPointF(120, 200), 0.6);
        canvas->tablet(QEvent::TabletMove, QPointF(122, 201), 0.9); // too close: skipped
        canvas->tablet(QEvent::TabletMove, QPointF(140, 200), 0.7);
        canvas->tablet(QEvent::TabletRelease, QPointF(160, 200), 0.8);

        auto *stroke = canvas->lastObject<ObjStroke>();
        QVERIFY(stroke);
        QCOMPARE(stroke->strokeKind, int(ObjStroke::Brush));
        QCOMPARE(stroke->pressures, QList<float>({ 0.6f, 0.7f, 0.8f }));
        QCOMPARE(stroke->path.elementCount(), 2 + stroke->pressures.size());
        QCOMPARE(stroke->path.currentPosition(), QPointF(150, 200));
        QVERIFY(canvas->layerAlpha(130, 200) > 128);

        // Repainted from the page (after undo and redo), the brush is the
        // one the pen drew live.
        const QImage live = canvas->view->layer()->copy();
        canvas->view->document().undo();
        canvas->view->document().redo();
        canvas->view->updateObjectCache(canvas->page(), QRect());
        QCOMPARE(*canvas->view->layer(), live);
    }

    void straightSegmentsSnapWithShift_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QPoint>("end");
        QTest::addColumn<double>("angle");
        QTest::addColumn<int>("cap");
        // 29 degrees above and below the horizontal, 100 px along it.
        QTest::newRow("left, above")
            << int(Qt::LeftButton) << QPoint(300, 245) << 15.0 << int(ObjLine::NoCap);
        QTest::newRow("right, below")
            << int(Qt::RightButton) << QPoint(300, 355) << 330.0 << int(ObjLine::FilledArrow);
    }

    void straightSegmentsSnapWithShift()
    {
        QFETCH(int, button);
        QFETCH(QPoint, end);
        QFETCH(double, angle);
        QFETCH(int, cap);
        const QPoint start(200, 300);
        canvas->press(start, Qt::ControlModifier, Qt::MouseButton(button));
        canvas->move(QPoint(250, 280));
        canvas->release(end, Qt::ControlModifier | Qt::ShiftModifier, Qt::MouseButton(button));

        auto *line = canvas->lastObject<ObjLine>();
        QVERIFY(line);
        QCOMPARE(canvas->objects().size(), 1);
        QCOMPARE(line->endCap, cap);
        QCOMPARE(line->line.p1(), QPointF(start));
        QVERIFY(qAbs(line->line.angle() - angle) < 1e-6);
        QVERIFY(qAbs(line->line.length() - QLineF(start, end).length()) < 1e-6);
        QVERIFY(canvas->layerAlpha(line->line.center().x(), line->line.center().y()) > 128);
    }

    void doubleClickStartsStroke()
    {
        canvas->send(QEvent::MouseButtonDblClick, QPointF(300, 100), Qt::LeftButton);
        canvas->move(QPoint(340, 100));
        canvas->release(QPoint(360, 100));
        auto *stroke = canvas->lastObject<ObjStroke>();
        QVERIFY(stroke);
        QCOMPARE(QPointF(stroke->path.elementAt(0)), QPointF(300, 100));
    }
};

QTEST_MAIN(TestPenTool)
#include "test_pentool.moc"
