#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "compositedplatform.h"
#include "mainwindow/drawmodeswitch.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "testenvironment.h"

#include <QAction>
#include <QtTest>

#include <memory>

// The View menu's zoom entries: when they are offered, and what they do to
// the current page, also from the desktop. (Their keys are the shortcut
// table's, tested with it.)
class TestZoomCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    MainView *view() const { return window->view(); }
    QList<QAction *> entries() const
    {
        const MenuBar *menu = window->menu();
        return { menu->actionZoomIn, menu->actionZoomOut, menu->actionFitPage,
                 menu->actionActualSize };
    }
    bool offered() const
    {
        const QList<QAction *> all = entries();
        return std::all_of(all.cbegin(), all.cend(), [](QAction *a) { return a->isEnabled(); });
    }
    bool withheld() const
    {
        const QList<QAction *> all = entries();
        return std::none_of(all.cbegin(), all.cend(), [](QAction *a) { return a->isEnabled(); });
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        Platform::replace(std::make_unique<CompositedPlatform>());
        window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        window.reset();
        env.reset();
        Platform::reset();
    }

    // Offered while there is a page that may zoom: none before the first
    // page, none over a live desktop.
    void offeredWhereZoomIsAllowed()
    {
        QVERIFY(withheld());
        window->slot_New();
        QVERIFY(offered());
        window->slot_LiveDesktop();
        QVERIFY(withheld());
        window->menu()->actionZoomIn->trigger();
        QVERIFY(view()->isFitted());
        window->slot_LiveDesktop();
        QVERIFY(offered());
        window->view()->document().clear();
        QVERIFY(withheld());
    }

    void stepsFitAndActualSizeOnTheCurrentPage()
    {
        window->slot_New();
        const qreal fitted = view()->zoom();
        MenuBar *menu = window->menu();
        menu->actionActualSize->trigger();
        QCOMPARE(view()->zoom(), 1.0);
        menu->actionZoomIn->trigger();
        QVERIFY(qAbs(view()->zoom() - std::exp2(1.0 / 3)) < 1e-9);
        menu->actionZoomOut->trigger();
        menu->actionZoomOut->trigger();
        QVERIFY(qAbs(view()->zoom() - std::exp2(-1.0 / 3)) < 1e-9);
        menu->actionFitPage->trigger();
        QVERIFY(view()->isFitted());
        QCOMPARE(view()->zoom(), fitted);

        // From the desktop the page comes back, zoomed.
        window->slot_Mouse();
        QVERIFY(!window->modes()->isDrawMode());
        menu->actionZoomIn->trigger();
        QVERIFY(window->modes()->isDrawMode());
        QVERIFY(!view()->isFitted());
    }
};

QTEST_MAIN(TestZoomCommands)
#include "test_zoomcommands.moc"
