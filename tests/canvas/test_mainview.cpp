#include "canvasfixture.h"
#include "document/backgroundfiles.h"
#include "document/objeraser.h"
#include "document/pagerenderer.h"

#include <QSignalSpy>

// The canvas: page list rules, layer upkeep, painting and rendering.
class TestMainView : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;
    MainView *view = nullptr;

    QSize screenSize() const { return QGuiApplication::primaryScreen()->size(); }

    // A page showing a blue desktop picture.
    void bluePage()
    {
        view->newPage();
        QPixmap picture(screenSize());
        picture.fill(Qt::blue);
        view->setBackground(picture);
    }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>(QSize(), false);
        QVERIFY(canvas->exposed);
        view = canvas->view;
    }

    void cleanup() { canvas.reset(); }

    void newPagesGoAfterTheCurrentOne()
    {
        QSignalSpy commands(view, &MainView::signal_PageCommands);
        QCOMPARE(view->newPage(), screenSize());
        const int first = view->currentPage()->id;
        view->newPage();
        view->newPage();
        QCOMPARE(view->document().currentPageNumber(), 3);
        view->document().gotoPage(0);
        view->newPage();
        QCOMPARE(view->document().currentPageNumber(), 2);
        QCOMPARE(view->document().pageList().first()->id, first);
        QCOMPARE(view->document().pageCount(), 4);
        QVERIFY(!view->document().gotoPage(1)); // already there
        QVERIFY(!view->document().gotoPage(7));
        QCOMPARE(commands.last(), QList<QVariant>({ true, true, true }));
        view->document().gotoPage(3);
        QCOMPARE(commands.last(), QList<QVariant>({ true, true, false }));
    }

    void closingPagesKeepsADocument()
    {
        view->newPage();
        const int onlyId = view->currentPage()->id;
        QCOMPARE(view->deletePage(), 0);
        QCOMPARE(view->document().pageCount(), 1);
        QVERIFY(view->currentPage()->id > onlyId);

        view->newPage();
        view->newPage();
        QCOMPARE(view->deletePage(), 3); // the last: the new last becomes current
        QCOMPARE(view->document().currentPageNumber(), 2);
        const int second = view->currentPage()->id;
        view->document().gotoPage(0);
        QCOMPARE(view->deletePage(), 1); // the first: the follower takes its number
        QCOMPARE(view->document().currentPageNumber(), 1);
        QCOMPARE(view->currentPage()->id, second);

        view->clearAll(false);
        QCOMPARE(view->document().pageCount(), 0);
        QVERIFY(!view->currentPage());
        QVERIFY(!view->document().undo());
        QVERIFY(!view->pushCommand(new AddCommand(view, new ObjStroke)));
        view->clearAll(true);
        QCOMPARE(view->document().pageCount(), 1);
    }

    void duplicateGetsItsOwnPictureFileAndRendersScaled()
    {
        bluePage();
        canvas->addStroke({ 0, 100 }, { 400, 100 });
        const int sourceId = view->currentPage()->id;
        view->duplicatePage();
        MainPage *copy = view->currentPage();
        QVERIFY(copy->id != sourceId);
        // Rendered from memory while the worker writes the file.
        QCOMPARE(PageRenderer::renderPage(copy, true, 0.5f).pixelColor(100, 150), QColor(Qt::blue));
        BackgroundFiles::instance().finish();
        QVERIFY(QFile::exists(MainPage::backgroundFile(copy->id)));
        QCOMPARE(QFileInfo(MainPage::backgroundFile(copy->id)).permissions() & 0x0077, 0);
        QCOMPARE(copy->objects.size(), 1);
        QVERIFY(!copy->undoStack->canUndo());
        const QImage half = PageRenderer::renderPage(copy, true, 0.5f);
        QCOMPARE(half.size(), (screenSize() * 0.5));
        QCOMPARE(half.pixelColor(100, 50), QColor(Qt::red));
        QCOMPARE(half.pixelColor(100, 150), QColor(Qt::blue));
        QVERIFY(PageRenderer::renderPage(nullptr).isNull());
        // Closing a page takes its picture of the desktop with it.
        view->deletePage();
        QVERIFY(!QFile::exists(MainPage::backgroundFile(copy->id)));
    }

    void erasingClearsOnlyTheLayer()
    {
        bluePage();
        canvas->addImage(QPointF(200, 200), QSize(40, 40), Qt::green);
        canvas->addStroke({ 100, 220 }, { 400, 220 });
        QCOMPARE(view->layer()->pixelColor(300, 220), QColor(Qt::red));

        auto *eraser = new ObjEraser;
        eraser->width = 60;
        eraser->appendSegment({ 80, 220 }, { 420, 220 });
        canvas->add(eraser);
        QCOMPARE(view->layer()->pixelColor(300, 220).alpha(), 0);
        const QImage rendered = PageRenderer::renderPage(view->currentPage());
        QCOMPARE(rendered.pixelColor(220, 220), QColor(Qt::green));
        QCOMPARE(rendered.pixelColor(300, 220), QColor(Qt::blue));

        // Undo re-renders the layer within the eraser's rectangle only.
        view->document().undo();
        QCOMPARE(view->layer()->pixelColor(300, 220), QColor(Qt::red));
        const QImage drawingOnly = PageRenderer::renderObjects(view->currentPage());
        QCOMPARE(drawingOnly.pixelColor(300, 220), QColor(Qt::red));
        QCOMPARE(drawingOnly.pixelColor(300, 400).alpha(), 0);
    }

    // A page without ink skips its layer, yet ink drawn on it shows at once,
    // and a switch to a page without ink leaves none of it on screen.
    void inkShowsOnAPageThatHadNone()
    {
        bluePage();
        bluePage();
        QVERIFY(view->document().gotoPage(0));
        QVERIFY(view->document().gotoPage(1));
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        canvas->drag({ { 100, 220 }, { 250, 220 }, { 400, 220 } });
        QVERIFY(canvas->shown({ 300, 220 }) != QColor(Qt::blue));
        QVERIFY(view->document().gotoPage(0));
        QCOMPARE(canvas->shown({ 300, 220 }), QColor(Qt::blue));
        QVERIFY(view->document().gotoPage(1));
        QVERIFY(canvas->shown({ 300, 220 }) != QColor(Qt::blue));
    }

    // The first clear rebuilds the layer too: nothing of the strokes stays
    // on screen; undo and redo bring them back and take them away again.
    void clearingThePageClearsTheScreen()
    {
        bluePage();
        canvas->addStroke({ 100, 220 }, { 400, 220 });
        view->clearPage();
        QCOMPARE(view->layer()->pixelColor(300, 220).alpha(), 0);
        QCOMPARE(canvas->shown({ 300, 220 }), QColor(Qt::blue));
        view->document().undo();
        QCOMPARE(canvas->shown({ 300, 220 }), QColor(Qt::red));
        view->document().redo();
        QCOMPARE(canvas->shown({ 300, 220 }), QColor(Qt::blue));
    }

    // Over a running desktop the label sits on a plate, so that no part of
    // its glyphs is lost on the desktop beneath.
    void liveLabelIsReadableOverAnyDesktop()
    {
        view->newPage();
        view->setLiveDesktop(true);
        const QImage shown = view->grab().toImage();
        view->setLiveDesktop(false);
        const QRect box = view->labelRect();
        QVERIFY(!box.isEmpty());
        int solid = 0;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                solid += qAlpha(shown.pixel(x, y)) >= 200 ? 1 : 0;
        QCOMPARE(solid, box.width() * box.height());
    }

    void paintsFrameAndLabel()
    {
        view->newPage();
        view->newPage();
        view->newPage();
        view->document().gotoPage(1);
        const QImage shown = view->grab().toImage();
        // The frame darkens the edges; the page inside keeps its colour.
        QVERIFY(shown.pixelColor(1, 300).value() < 120);
        QCOMPARE(shown.pixelColor(300, 300), QColor(Qt::white));
        // The label sits in the top-right corner, drawn in black over white.
        int dark = 0;
        for (int y = 0; y < 49; ++y)
            for (int x = shown.width() - 140; x < shown.width() - 1; ++x)
                dark += shown.pixelColor(x, y).value() < 60 ? 1 : 0;
        QVERIFY(dark > 20);
    }

    void smallerPageIsCentredWithAnOutline()
    {
        canvas->window->resize(1200, 900);
        view->newPage();
        view->currentPage()->size = QSize(800, 600);
        view->currentPage()->setPixels(QSize(800, 600), 1.0);
        view->updateObjectCache(view->currentPage(), QRect());
        view->fitToWindow(canvas->window->size());
        QCOMPARE(view->geometry(), QRect(200, 150, 800, 600));
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(0, 300), QColor(120, 120, 120));
        QCOMPARE(shown.pixelColor(5, 300), QColor(Qt::white));
    }

    void switchingToolsMidGestureCommitsNothing()
    {
        view->newPage();
        ToolKit::instance().setCurrentTool(ToolKit::Shape);
        canvas->press(QPoint(100, 100), Qt::ControlModifier);
        // A centred shape: the drag sets the secondary mode that a straight pen
        // segment would also read.
        canvas->send(QEvent::MouseMove, QPointF(200, 180), Qt::LeftButton, Qt::ControlModifier);
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        canvas->release(QPoint(200, 180), Qt::ControlModifier);
        QVERIFY(view->currentPage()->objects.isEmpty());
        QVERIFY(!view->document().canUndo());
    }
};

QTEST_MAIN(TestMainView)
#include "test_mainview.moc"
