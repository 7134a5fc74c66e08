#include "canvasfixture.h"

#include "canvas/layercache.h"

#include <QRandomGenerator>
#include <QSignalSpy>

// Rendered layers kept for page switches: a page shows exactly what a
// fresh render of it shows, whatever happened to it while it was not shown.
class TestLayerCache : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;
    MainView *view = nullptr;

    // A page of a screen's size with `count` seeded random strokes, current.
    void addWrittenPage(int count, int seed)
    {
        view->newPage();
        QRandomGenerator rng(seed);
        const QSize size = view->currentPage()->size;
        for (int i = 0; i < count; ++i) {
            auto *stroke = new ObjStroke;
            stroke->width = rng.bounded(1, 12);
            stroke->colour = QColor::fromRgb(rng.generate() | 0x80000000u);
            QPointF at(rng.bounded(size.width()), rng.bounded(size.height()));
            stroke->path.moveTo(at);
            for (int p = 0; p < 20; ++p) {
                const QPointF next = at + QPointF(rng.bounded(40.0) - 20, rng.bounded(40.0) - 20);
                stroke->path.quadTo(at, (at + next) / 2);
                at = next;
            }
            canvas->add(stroke);
        }
    }

    void goTo(int index)
    {
        QVERIFY(view->document().gotoPage(index));
        QCOMPARE(view->document().currentPageNumber(), index + 1);
    }

    void waitForRenders() { QTRY_VERIFY(!view->isDecodingAhead()); }

    // What the view shows now beside what it shows after its layer was
    // rendered afresh.
    void showsAFreshRender()
    {
        const QImage shown = view->grab().toImage();
        view->updateObjectCache(view->currentPage(), QRect());
        QCOMPARE(shown, view->grab().toImage());
    }

    static QImage fresh(const MainPage *page)
    {
        QImage layer(page->pixelSize, QImage::Format_ARGB32_Premultiplied);
        layer.setDevicePixelRatio(page->pixelRatio);
        page->renderLayer(&layer, QRect());
        return layer;
    }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>(QSize(), false);
        QVERIFY(canvas->exposed);
        view = canvas->view;
    }

    void cleanup() { canvas.reset(); }

    // A kept layer is handed out only for the revision, pixels and ratio it
    // was rendered at, and the oldest goes when more than fit are kept.
    void handsOutOnlyCurrentLayers()
    {
        LayerCache cache(2);
        MainPage a(QSize(40, 30), false), b(QSize(40, 30), false), c(QSize(40, 30), false);
        auto layer = [] { return std::make_unique<QImage>(40, 30, QImage::Format_ARGB32); };
        QVERIFY(!cache.keep(&a, layer()));
        QVERIFY(!cache.keep(&b, layer()));
        QVERIFY(cache.keep(&c, layer())); // a leaves
        QVERIFY(!cache.take(&a));
        ++b.revision;
        QVERIFY(!cache.take(&b));
        c.setPixels(QSize(80, 60), 2);
        QVERIFY(!cache.take(&c));
        c.setPixels(QSize(40, 30), 1);
        QVERIFY(cache.take(&c));
        QVERIFY(!cache.take(&c)); // taken out
    }

    // A worker renders copies of the objects; a page that changes or goes
    // while it renders gets no layer from it.
    void rendersAheadExactlyAndDropsOutdatedRenders()
    {
        addWrittenPage(60, 1);
        addWrittenPage(60, 2);
        addWrittenPage(0, 3);
        const QList<MainPage *> pages = view->document().pageList();
        LayerCache cache;
        QSignalSpy rendered(&cache, &LayerCache::rendered);
        cache.renderAhead({ pages.at(0), pages.at(1), pages.at(2) });
        pages.at(1)->undoStack->undo();
        QTRY_VERIFY(!cache.isRendering());
        for (const QList<QVariant> &arrived : std::as_const(rendered))
            QVERIFY(arrived.at(0).toInt() != pages.at(2)->id); // blank: no layer needed
        QVERIFY(!cache.take(pages.at(1)));
        const std::unique_ptr<QImage> layer = cache.take(pages.at(0));
        QVERIFY(layer);
        QCOMPARE(layer->devicePixelRatio(), pages.at(0)->pixelRatio);
        QCOMPARE(*layer, fresh(pages.at(0)));
    }

    // PageDown and PageUp among pages written full show kept layers that
    // are exactly what a render gives, at any scale.
    void neighboursShowWhatAFreshRenderShows()
    {
        addWrittenPage(40, 1);
        addWrittenPage(40, 2);
        addWrittenPage(40, 3);
        goTo(1);
        waitForRenders();
        goTo(2); // rendered ahead
        showsAFreshRender();
        goTo(1); // kept when left
        showsAFreshRender();

        // Changed behind the history's back, the page shows the kept layer:
        // the switch took it and did not render.
        waitForRenders();
        MainPage *next = view->document().pageList().at(2);
        const QImage before = view->grab().toImage();
        next->objects.append(next->objects.first()->clone());
        next->owned.append(next->objects.last());
        goTo(2);
        const QImage kept = view->grab().toImage();
        view->updateObjectCache(view->currentPage(), QRect());
        QVERIFY(kept != before);
        QVERIFY(kept != view->grab().toImage());
    }

    // Undone, copied or cleared while not shown, a page shows its objects as
    // they are now.
    void pagesChangedWhileAwayShowTheirChange()
    {
        addWrittenPage(30, 1);
        addWrittenPage(30, 2);
        addWrittenPage(30, 3);
        goTo(1);
        waitForRenders();
        view->document().pageList().at(2)->undoStack->undo(); // not through the view
        goTo(2);
        showsAFreshRender();

        view->document().undo();
        goTo(1);
        waitForRenders();
        goTo(2);
        showsAFreshRender();

        view->clearPage();
        goTo(1);
        waitForRenders();
        goTo(2);
        showsAFreshRender();

        goTo(0);
        view->duplicatePage(); // the copy goes after page 1, with a new id
        goTo(0);
        waitForRenders();
        goTo(1);
        showsAFreshRender();
    }

    // A tool's pieces painted into the layer are not what a render gives:
    // that layer is not kept, and the page comes back rendered.
    void layersToolsPaintedIntoAreNotKept()
    {
        addWrittenPage(10, 1);
        addWrittenPage(10, 2);
        goTo(0);
        waitForRenders();
        canvas->drag({ QPoint(50, 50), QPoint(90, 70), QPoint(140, 60), QPoint(180, 100) });
        QVERIFY(canvas->page()->objects.size() == 11);
        goTo(1);
        goTo(0);
        showsAFreshRender();
    }
};

QTEST_MAIN(TestLayerCache)
#include "test_layercache.moc"
