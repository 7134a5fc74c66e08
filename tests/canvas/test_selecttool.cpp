#include "testenvironment.h"

#include "canvas/mainview.h"
#include "canvas/selecttool.h"
#include "canvas/toolkit.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QSignalSpy>
#include <QTimer>
#include <QUndoStack>
#include <QtTest>

#include <memory>

// Drives a real canvas with mouse events, as the user would.
class TestSelectTool : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<QWidget> m_window;
    MainView *m_view = nullptr;
    int m_files = 0;

    SelectTool *tool() const { return ToolKit::instance().selectTool(); }
    MainPage *page() const { return m_view->currentPage(); }
    int commands() const { return page()->undoStack->count(); }

    ImageStatic *insertImage(const QPointF &topLeft, const QColor &colour = Qt::blue)
    {
        QImage picture(100, 80, QImage::Format_ARGB32);
        picture.fill(colour);
        const QString file = m_env->path(QStringLiteral("picture%1.png").arg(++m_files));
        picture.save(file);
        auto *image = new ImageStatic(QRectF(topLeft, QSizeF()));
        image->load(file);
        m_view->pushCommand(new AddCommand(m_view, image));
        return image;
    }

    // A red band across the layer, as a pen would leave it.
    void drawBand(int y)
    {
        auto *stroke = new ObjStroke;
        stroke->width = 20;
        stroke->colour = Qt::red;
        stroke->path.moveTo(100, y);
        stroke->path.lineTo(500, y);
        m_view->pushCommand(new AddCommand(m_view, stroke));
        m_view->updateObjectCache(page(), QRect());
    }

    void drag(const QList<QPoint> &points, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mousePress(m_view, Qt::LeftButton, modifiers, points.first());
        for (const QPoint &pt : points.mid(1))
            QTest::mouseMove(m_view, pt);
        QTest::mouseRelease(m_view, Qt::LeftButton, modifiers, points.last());
    }
    void click(const QPoint &pt) { drag({ pt }); }

    void hover(const QPoint &pt)
    {
        QMouseEvent move(QEvent::MouseMove, pt, m_view->mapToGlobal(pt), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(m_view, &move);
    }

    QColor shown(const QPointF &pt) const
    {
        return m_view->grab().toImage().pixelColor(pt.toPoint());
    }

private slots:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        m_window = std::make_unique<QWidget>();
        m_window->resize(800, 600);
        m_view = new MainView(m_window.get());
        m_view->newPage();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        ToolKit::instance().setCurrentTool(ToolKit::Select);
    }

    void cleanup()
    {
        m_view->clearAll(false);
        m_window.reset();
        ToolKit::reset();
        m_env.reset();
    }

    void clickSelectsAndDraggingAnUnselectedImageLeavesItUnselected()
    {
        ImageStatic *image = insertImage(QPointF(100, 100));
        const QColor rotateHandle(26, 211, 176);
        QTest::mousePress(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(150, 140));
        QVERIFY(shown(image->handlePos(9)) != rotateHandle);
        QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(150, 140));
        QCOMPARE(tool()->selectedObjects(), QList<Obj *> { image });
        QCOMPARE(shown(image->handlePos(9)), rotateHandle);
        QCOMPARE(commands(), 1);

        ImageStatic *other = insertImage(QPointF(400, 100));
        drag({ QPoint(450, 140), QPoint(500, 200) }); // one move is enough to drag
        QCOMPARE(other->rect, QRectF(450, 160, 100, 80));
        QVERIFY(tool()->selectedObjects().isEmpty());
        QVERIFY(m_view->undo());
        QCOMPARE(other->rect, QRectF(400, 100, 100, 80));
    }

    void draggingASelectedImageMovesTheWholeSelection()
    {
        ImageStatic *first = insertImage(QPointF(100, 100));
        ImageStatic *second = insertImage(QPointF(300, 300));
        m_view->addToSelection(first);
        m_view->addToSelection(second);
        drag({ QPoint(150, 140), QPoint(153, 141), QPoint(170, 150) });
        QCOMPARE(first->rect.topLeft(), QPointF(120, 110));
        QCOMPARE(second->rect.topLeft(), QPointF(320, 310));
        QCOMPARE(tool()->selectedObjects(), (QList<Obj *> { first, second }));
    }

    void withTwoSelectedOnlyTheRotateHandleActs()
    {
        ImageStatic *first = insertImage(QPointF(100, 100));
        ImageStatic *second = insertImage(QPointF(300, 300));
        second->setAngle(10);
        m_view->addToSelection(first);
        m_view->addToSelection(second);
        const QPoint resize = first->handlePos(5).toPoint() + QPoint(10, 10);
        hover(resize);
        QCOMPARE(m_view->cursor().shape(), Qt::ArrowCursor);
        drag({ resize, resize + QPoint(40, 40) });
        QCOMPARE(first->rect, QRectF(100, 100, 100, 80));

        click(QPoint(600, 500)); // drops what the drag lassoed
        m_view->addToSelection(first);
        m_view->addToSelection(second);
        const int before = commands();
        drag({ first->handlePos(9).toPoint(), QPoint(200, 40), QPoint(250, 40) });
        QCOMPARE(first->angle, 45.0f);
        QCOMPARE(second->angle, 55.0f);
        QCOMPARE(commands(), before + 1);
        QVERIFY(m_view->undo());
        QCOMPARE(first->angle, 0.0f);
        QCOMPARE(second->angle, 10.0f);
    }

    void handlesPushOnlyWhatTheyChange()
    {
        ImageStatic *image = insertImage(QPointF(100, 100));
        click(QPoint(150, 140));
        click(image->handlePos(9).toPoint());
        click(image->handlePos(5).toPoint());
        QCOMPARE(commands(), 1);
        QCOMPARE(image->rect, QRectF(100, 100, 100, 80));
        QCOMPARE(image->angle, 0.0f);

        drag({ QPoint(200, 180), QPoint(230, 190), QPoint(250, 200) });
        QCOMPARE(image->rect.topLeft(), QPointF(100, 100));
        QCOMPARE(image->rect.size().toSize(), QSize(150, 120)); // the ratio is kept
        QVERIFY(m_view->undo());
        QCOMPARE(image->rect, QRectF(100, 100, 100, 80));

        click(QPoint(150, 140));
        click(image->handlePos(3).toPoint());
        QVERIFY(!page()->objects.contains(image));
        QVERIFY(tool()->selectedObjects().isEmpty());
        ToolKit::instance().setCurrentTool(ToolKit::Mouse);
        QVERIFY(m_view->undo());
        QCOMPARE(page()->objects, QList<Obj *> { image });
        QVERIFY(tool()->selectedObjects().isEmpty()); // nothing left to go stale
    }

    void movesStayOnTheCanvasAndOnThePage()
    {
        ImageStatic *image = insertImage(QPointF(100, 100));
        QTest::mousePress(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(150, 140));
        QTest::mouseMove(m_view, QPoint(200, 180));
        QTest::mouseMove(m_view, QPoint(-20, 180));
        QCOMPARE(m_view->cursor().shape(), Qt::ForbiddenCursor);
        QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(-20, 180));
        QCOMPARE(image->rect.topLeft(), QPointF(150, 140));

        // Near the right page border the move is shortened; undo takes back
        // exactly what was applied.
        const int right = page()->size.width();
        ImageStatic *edge = insertImage(QPointF(right - 130, 300));
        drag({ QPoint(right - 128, 340), QPoint(right - 2, 340) });
        QCOMPARE(edge->rect.left(), right - 24);
        QVERIFY(m_view->undo());
        QCOMPARE(edge->rect.topLeft(), QPointF(right - 130, 300));
    }

    void ctrlDragMovesACopy()
    {
        ImageStatic *image = insertImage(QPointF(100, 100));
        click(QPoint(150, 140));
        drag({ QPoint(150, 140), QPoint(200, 190) }, Qt::ControlModifier);
        QCOMPARE(page()->objects.size(), 2);
        Obj *copy = page()->objects.last();
        QCOMPARE(image->rect.topLeft(), QPointF(100, 100));
        QCOMPARE(copy->rect.topLeft(), QPointF(150, 150));
        QCOMPARE(tool()->selectedObjects(), QList<Obj *> { copy });
        QVERIFY(m_view->undo());
        QCOMPARE(copy->rect.topLeft(), QPointF(100, 100));
        QVERIFY(m_view->undo());
        QCOMPARE(page()->objects, QList<Obj *> { image });
    }

    void aToolSwitchDuringADragPutsTheImageBack()
    {
        ImageStatic *image = insertImage(QPointF(100, 100));
        QTest::mousePress(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(150, 140));
        QTest::mouseMove(m_view, QPoint(250, 240));
        ToolKit::instance().setCurrentTool(ToolKit::Mouse);
        QCOMPARE(image->rect.topLeft(), QPointF(100, 100));
        QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(250, 240));
        QCOMPARE(commands(), 1);
    }

    void aSecondButtonDuringADragKeepsItsUndoExact()
    {
        ImageStatic *image = insertImage(QPointF(100, 100));
        QTest::mousePress(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(150, 140));
        QTest::mouseMove(m_view, QPoint(200, 180));
        QTest::mousePress(m_view, Qt::RightButton, Qt::NoModifier, QPoint(300, 300));
        QTest::mouseRelease(m_view, Qt::RightButton, Qt::NoModifier, QPoint(300, 300));
        QTest::mouseRelease(m_view, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
        QCOMPARE(image->rect.topLeft(), QPointF(150, 140));
        QVERIFY(m_view->undo());
        QCOMPARE(image->rect.topLeft(), QPointF(100, 100));
    }

    void lassoClickClearsTheSelection()
    {
        insertImage(QPointF(100, 100));
        click(QPoint(150, 140));
        click(QPoint(600, 400));
        QVERIFY(tool()->selectedObjects().isEmpty());
        QVERIFY(!tool()->hasRasterSelection());
        QCOMPARE(commands(), 1);
    }

    void lassoLiftsOnlyTheLayerPixelsInside()
    {
        drawBand(300);
        const QImage original = m_view->layer()->copy();
        const QRect inside(200, 280, 100, 40);
        drag({ inside.topLeft(), QPoint(250, 300), inside.bottomRight() + QPoint(1, 1) },
             Qt::ShiftModifier);
        QVERIFY(tool()->hasRasterSelection());
        for (const QPoint &pt : { QPoint(200, 300), QPoint(299, 290), QPoint(250, 319) })
            QCOMPARE(m_view->layer()->pixelColor(pt).alpha(), 0);
        for (const QPoint &pt : { QPoint(199, 300), QPoint(300, 300), QPoint(250, 279) })
            QCOMPARE(m_view->layer()->pixelColor(pt), original.pixelColor(pt));
        const QColor floating = shown(QPoint(250, 300)); // where it was, under the ants' tint
        QVERIFY(floating.red() > 200 && floating.green() < 120);

        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        QVERIFY(!tool()->hasRasterSelection());
        QCOMPARE(*m_view->layer(), original);
        QCOMPARE(commands(), 1);
    }

    void aDraggedSelectionMovesPixelsButNotImages()
    {
        ImageStatic *image = insertImage(QPointF(150, 250));
        drawBand(300);
        const QImage original = m_view->layer()->copy();
        drag({ QPoint(120, 260), QPoint(280, 260), QPoint(280, 340), QPoint(120, 340) });
        drag({ QPoint(200, 300), QPoint(200, 420), QPoint(200, 450) });
        QCOMPARE(commands(), 3);
        drag({ QPoint(200, 450), QPoint(200, 480), QPoint(200, 500) });
        QCOMPARE(commands(), 4);
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        const QImage moved = m_view->renderPage(page());
        QCOMPARE(moved.pixelColor(200, 500), QColor(Qt::red));
        QCOMPARE(moved.pixelColor(200, 300), QColor(Qt::blue));
        QCOMPARE(moved.pixelColor(400, 300), QColor(Qt::red));
        QCOMPARE(page()->objects.first(), image);

        QVERIFY(m_view->undo());
        QCOMPARE(m_view->layer()->pixelColor(200, 450), QColor(Qt::red));
        QCOMPARE(m_view->layer()->pixelColor(200, 500).alpha(), 0);
        QVERIFY(m_view->undo());
        QCOMPARE(*m_view->layer(), original);
    }

    void pastesLandAtTheSameOffset()
    {
        ImageStatic *image = insertImage(QPointF(100, 100));
        click(QPoint(150, 140));
        tool()->cutSelection(m_view);
        QVERIFY(!page()->objects.contains(image));
        tool()->pasteClipboard(m_view);
        tool()->pasteClipboard(m_view);
        QCOMPARE(page()->objects.size(), 2);
        for (const Obj *copy : page()->objects)
            QCOMPARE(copy->rect, QRectF(110, 110, 100, 80));
        QCOMPARE(tool()->selectedObjects(), QList<Obj *> { page()->objects.last() });
    }

    void antsRunOnlyWithARasterSelection()
    {
        drawBand(300);
        auto *timer = tool()->findChild<QTimer *>();
        QVERIFY(timer);
        click(QPoint(600, 400));
        QVERIFY(!timer->isActive());
        drag({ QPoint(150, 250), QPoint(350, 250), QPoint(350, 350) }, Qt::ShiftModifier);
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 60);
        QSignalSpy ticks(timer, &QTimer::timeout);
        QVERIFY(ticks.wait());
        QCOMPARE(tool()->dashOffset(), 6.0 - ticks.count());
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        QVERIFY(!timer->isActive());
    }
};

QTEST_MAIN(TestSelectTool)
#include "test_selecttool.moc"
