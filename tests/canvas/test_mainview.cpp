#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/mainpage.h"
#include "document/objeraser.h"
#include "document/objstroke.h"
#include "testenvironment.h"

#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QUndoStack>
#include <QtTest>

#include <memory>

// The canvas: page list rules, layer upkeep, painting and rendering.
class TestMainView : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<QWidget> window;
    MainView *view = nullptr;

    QSize screenSize() const { return QGuiApplication::primaryScreen()->size(); }

    ObjStroke *strokeFrom(const QPointF &a, const QPointF &b, int width = 20)
    {
        auto *stroke = new ObjStroke;
        stroke->width = width;
        stroke->colour = Qt::red;
        stroke->path.moveTo(a);
        stroke->path.lineTo(b);
        return stroke;
    }

    // Pushes obj as a tool does: the tool has painted it into the layer already.
    void add(Obj *obj)
    {
        QVERIFY(view->pushCommand(new AddCommand(view, obj)));
        view->updateObjectCache(view->currentPage(), obj->paintRect());
    }

    QPixmap solidPicture(const QSize &size, const QColor &colour)
    {
        QPixmap picture(size);
        picture.fill(colour);
        return picture;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        QDir().mkpath(AppState::instance().tempFolder = env->path(QStringLiteral("temp/")));
        window = std::make_unique<QWidget>();
        window->resize(screenSize());
        view = new MainView(window.get());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void newPagesGoAfterTheCurrentOne()
    {
        QSignalSpy commands(view, &MainView::signal_PageCommands);
        QCOMPARE(view->newPage(), screenSize());
        const int first = view->currentPage()->id;
        view->newPage();
        view->newPage();
        QCOMPARE(view->currentPageNumber(), 3);
        view->gotoPage(0);
        view->newPage();
        QCOMPARE(view->currentPageNumber(), 2);
        QCOMPARE(view->pageList().first()->id, first);
        QCOMPARE(view->pageCount(), 4);
        QVERIFY(!view->gotoPage(1)); // already there
        QVERIFY(!view->gotoPage(7));
        QCOMPARE(commands.last(), QList<QVariant>({ true, true, true }));
        view->gotoPage(3);
        QCOMPARE(commands.last(), QList<QVariant>({ true, true, false }));
    }

    void closingPagesKeepsADocument()
    {
        view->newPage();
        const int onlyId = view->currentPage()->id;
        QCOMPARE(view->deletePage(), 0);
        QCOMPARE(view->pageCount(), 1);
        QVERIFY(view->currentPage()->id > onlyId);

        view->newPage();
        view->newPage();
        QCOMPARE(view->deletePage(), 3); // the last: the new last becomes current
        QCOMPARE(view->currentPageNumber(), 2);
        const int second = view->currentPage()->id;
        view->gotoPage(0);
        QCOMPARE(view->deletePage(), 1); // the first: the follower takes its number
        QCOMPARE(view->currentPageNumber(), 1);
        QCOMPARE(view->currentPage()->id, second);

        view->clearAll(false);
        QCOMPARE(view->pageCount(), 0);
        QVERIFY(!view->currentPage());
        QVERIFY(!view->undo());
        QVERIFY(!view->pushCommand(new AddCommand(view, strokeFrom({ 0, 0 }, { 5, 5 }))));
        view->clearAll(true);
        QCOMPARE(view->pageCount(), 1);
    }

    void duplicateGetsItsOwnPictureFile()
    {
        view->newPage();
        view->setBackground(solidPicture(screenSize(), Qt::blue));
        view->pushCommand(new AddCommand(view, strokeFrom({ 10, 10 }, { 100, 100 })));
        const int sourceId = view->currentPage()->id;
        view->duplicatePage();
        MainPage *copy = view->currentPage();
        QVERIFY(copy->id != sourceId);
        QVERIFY(QFile::exists(MainPage::backgroundFile(copy->id)));
        QCOMPARE(QFileInfo(MainPage::backgroundFile(copy->id)).permissions() & 0x0077, 0);
        QCOMPARE(copy->objects.size(), 1);
        QVERIFY(!copy->undoStack->canUndo());
        QCOMPARE(view->renderPage(copy).pixelColor(300, 20), QColor(Qt::blue));
        // Closing a page takes its picture of the desktop with it.
        view->deletePage();
        QVERIFY(!QFile::exists(MainPage::backgroundFile(copy->id)));
    }

    void erasingClearsOnlyTheLayer()
    {
        view->newPage();
        view->setBackground(solidPicture(screenSize(), Qt::blue));
        QImage picture(40, 40, QImage::Format_ARGB32);
        picture.fill(Qt::green);
        const QString file = env->path(QStringLiteral("green.png"));
        QVERIFY(picture.save(file));
        auto *image = new ImageStatic;
        image->load(file);
        image->rect = QRectF(200, 200, 40, 40);
        image->recentre();
        add(image);
        add(strokeFrom({ 100, 220 }, { 400, 220 }));
        QCOMPARE(view->layer()->pixelColor(300, 220), QColor(Qt::red));

        auto *eraser = new ObjEraser;
        eraser->width = 60;
        eraser->appendSegment({ 80, 220 }, { 420, 220 });
        add(eraser);
        QCOMPARE(view->layer()->pixelColor(300, 220).alpha(), 0);
        const QImage rendered = view->renderPage(view->currentPage());
        QCOMPARE(rendered.pixelColor(220, 220), QColor(Qt::green));
        QCOMPARE(rendered.pixelColor(300, 220), QColor(Qt::blue));

        // Undo re-renders the layer within the eraser's rectangle only.
        view->undo();
        QCOMPARE(view->layer()->pixelColor(300, 220), QColor(Qt::red));
        const QImage drawingOnly = view->renderObjects(view->currentPage());
        QCOMPARE(drawingOnly.pixelColor(300, 220), QColor(Qt::red));
        QCOMPARE(drawingOnly.pixelColor(300, 400).alpha(), 0);
    }

    void renderingScalesPictureAndObjects()
    {
        view->newPage();
        view->setBackground(solidPicture(screenSize(), Qt::blue));
        add(strokeFrom({ 0, 100 }, { 400, 100 }));
        const QImage half = view->renderPage(view->currentPage(), true, 0.5f);
        QCOMPARE(half.size(),
                 QSize(qRound(screenSize().width() * 0.5), qRound(screenSize().height() * 0.5)));
        QCOMPARE(half.pixelColor(100, 50), QColor(Qt::red));
        QCOMPARE(half.pixelColor(100, 150), QColor(Qt::blue));
        QVERIFY(view->renderPage(nullptr).isNull());
    }

    void paintsFrameAndLabel()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        view->newPage();
        view->newPage();
        view->newPage();
        view->gotoPage(1);
        const QImage shown = view->grab().toImage();
        // The frame darkens the edges; the page inside keeps its colour.
        QVERIFY(shown.pixelColor(1, 300).value() < 120);
        QCOMPARE(shown.pixelColor(300, 300), QColor(Qt::white));
        // The label sits in the top-right corner, drawn in black over white.
        const QRect labelArea(shown.width() - 140, 0, 140, 50);
        int dark = 0;
        for (int y = labelArea.top(); y < labelArea.bottom(); ++y)
            for (int x = labelArea.left(); x < labelArea.right(); ++x)
                dark += shown.pixelColor(x, y).value() < 60 ? 1 : 0;
        QVERIFY(dark > 20);
    }

    void smallerPageIsCentredWithAnOutline()
    {
        window->resize(1200, 900);
        AppState::instance().screenIndex = 0;
        view->newPage();
        view->currentPage()->size = QSize(800, 600);
        view->updateObjectCache(view->currentPage(), QRect());
        view->fitToWindow(window->size());
        QCOMPARE(view->geometry(), QRect(200, 150, 800, 600));
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(0, 300), QColor(120, 120, 120));
        QCOMPARE(shown.pixelColor(5, 300), QColor(Qt::white));
    }

    void switchingToolsMidGestureCommitsNothing()
    {
        window->show();
        view->newPage();
        ToolKit::instance().setCurrentTool(ToolKit::Shape);
        QTest::mousePress(view, Qt::LeftButton, Qt::ControlModifier, QPoint(100, 100));
        // A centred shape: the drag sets the secondary mode that a straight pen
        // segment would also read.
        QMouseEvent move(QEvent::MouseMove, QPointF(200, 180), view->mapToGlobal(QPointF(200, 180)),
                         Qt::NoButton, Qt::LeftButton, Qt::ControlModifier);
        QApplication::sendEvent(view, &move);
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        QTest::mouseRelease(view, Qt::LeftButton, Qt::ControlModifier, QPoint(200, 180));
        QVERIFY(view->pageObjects().isEmpty());
        QVERIFY(!view->canUndo());
    }

    void rightButtonPansWhateverTheTool()
    {
        window->resize(600, 400);
        window->show();
        view->newPage();
        view->fitToWindow(window->size());
        const QPoint start = view->pos();
        QTest::mousePress(view, Qt::RightButton, {}, QPoint(300, 300));
        QTest::mouseMove(view, QPoint(250, 280));
        QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(250, 280));
        QVERIFY(view->pos() != start);
        QVERIFY(view->pageObjects().isEmpty());
    }
};

QTEST_MAIN(TestMainView)
#include "test_mainview.moc"
