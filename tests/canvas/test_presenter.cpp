#include "app/appstate.h"
#include "canvas/pentool.h"
#include "canvas/presenterkit.h"
#include "canvas/spotlighttool.h"
#include "canvasfixture.h"
#include "document/pagerenderer.h"

#include <QPaintEvent>
#include <QWheelEvent>

// The presenter tools on a canvas, with time driven by hand: the laser
// pointer leaves nothing on the page, fading ink leaves the page, its undo
// history and its exports alone and vanishes on time, the spotlight darkens
// all but a circle the wheel resizes, and the one animation timer runs only
// while something changes.
class TestPresenter : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> f;
    qint64 now = 1000;

    PresenterKit &kit() const { return PresenterKit::instance(); }
    void tickAt(qint64 t)
    {
        now = t;
        kit().animator().tick();
    }
    static int brightness(const QColor &c) { return c.red() + c.green() + c.blue(); }
    void wheel(int notches)
    {
        const QPointF at(300, 300);
        QWheelEvent event(at, f->view->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f->view, &event);
    }
    void drawPenStroke(int y)
    {
        f->drag({ QPoint(100, y), QPoint(160, y), QPoint(220, y), QPoint(300, y) });
    }

    // The areas the canvas repaints, one bounding box per paint event.
    class PaintSpy : public QObject
    {
    public:
        QList<QRegion> regions;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                regions.append(static_cast<QPaintEvent *>(event)->region());
            return false;
        }
    };

private Q_SLOTS:
    void init()
    {
        AppState::reset();
        f = std::make_unique<CanvasFixture>();
        QVERIFY(f->exposed);
        now = 1000;
        kit().animator().setClock([this] { return now; });
        PenTool *pen = ToolKit::instance().penTool();
        pen->strokeTemplate.colour = QColor(0, 0, 255);
        pen->strokeTemplate.width = 9;
    }
    void cleanup()
    {
        f.reset();
        ToolKit::reset();
    }

    void laserLeavesNoObjectNorUndoStep()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Laser);
        const QColor before = f->shown(QPoint(300, 200));
        f->drag({ QPoint(100, 200), QPoint(200, 200), QPoint(300, 200) });
        f->click(QPoint(300, 200));
        QVERIFY(f->objects().isEmpty());
        QCOMPARE(f->commands(), 0);
        QCOMPARE(f->inkBox(QRect(0, 0, 800, 600)), QRect());
        // The dot shows in the laser's colour where the pointer is.
        const QColor dot = f->shown(QPoint(300, 200));
        QVERIFY2(dot.red() > 200 && dot.green() < 80 && dot.blue() < 80, qPrintable(dot.name()));
        QVERIFY(kit().laser().hasDot());
        // Chosen away, nothing of it stays on screen.
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        QTRY_COMPARE(f->shown(QPoint(300, 200)), before);
    }

    void laserTrailFadesAndTheTimerStops()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Laser);
        QVERIFY(!kit().animator().isRunning());
        for (int x = 100; x <= 400; x += 20) {
            now += 8;
            f->move(QPoint(x, 300));
        }
        QVERIFY(kit().laser().trailLength() > 2);
        QVERIFY(kit().animator().isRunning());
        tickAt(now + 100);
        QVERIFY(kit().animator().isRunning());
        // Half a second after the last move only the dot is left.
        tickAt(now + LaserTrail::LifeMs);
        QCOMPARE(kit().laser().trailLength(), 1);
        QVERIFY(kit().laser().hasDot());
        QVERIFY(!kit().animator().isRunning());
        // A pointer at rest starts nothing.
        f->move(QPoint(401, 300));
        kit().animator().tick();
        QVERIFY(!kit().animator().isRunning());
    }

    // Moves far apart leave a trail without gaps, and without darker spots
    // where one move's piece joins the next.
    void laserTrailIsAnEvenLine()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Laser);
        const int paper = f->shown(QPoint(200, 300)).green();
        for (int x = 100; x <= 380; x += 40)
            f->move(QPoint(x, 300));
        kit().animator().tick();
        int lightest = 0, darkest = 255;
        for (int x = 110; x <= 360; ++x) {
            const int green = f->shown(QPoint(x, 300)).green();
            lightest = qMax(lightest, green);
            darkest = qMin(darkest, green);
        }
        QVERIFY2(lightest < paper - 100, qPrintable(QString::number(lightest)));
        QVERIFY2(lightest - darkest <= 12,
                 qPrintable(QStringLiteral("%1-%2").arg(darkest).arg(lightest)));
    }

    void laserRepaintsOnlyAroundThePointer()
    {
        ToolKit::instance().setCurrentTool(ToolKit::Laser);
        f->move(QPoint(200, 200));
        QCoreApplication::processEvents();
        PaintSpy spy;
        f->view->installEventFilter(&spy);
        now += 8;
        f->move(QPoint(220, 205));
        // Moves are repainted on the next frame.
        QCoreApplication::processEvents();
        QVERIFY(spy.regions.isEmpty());
        kit().animator().tick();
        QTRY_VERIFY(!spy.regions.isEmpty());
        const QRect box = spy.regions.last().boundingRect();
        QVERIFY2(box.width() < 80 && box.height() < 80,
                 qPrintable(QStringLiteral("%1 x %2").arg(box.width()).arg(box.height())));
        QVERIFY(box.contains(QPoint(220, 205)) && box.contains(QPoint(200, 200)));
    }

    void fadingStrokeVanishesOnTimeAndAlone()
    {
        AppState::instance().presenter.fadeSeconds = 2;
        kit().setFadingInk(true);
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        const QColor paper = f->shown(QPoint(200, 100));
        drawPenStroke(100);
        QVERIFY(f->objects().isEmpty());
        QCOMPARE(f->commands(), 0);
        // The pen's pieces left the layer; the overlay shows the stroke.
        QCOMPARE(f->inkBox(QRect(0, 0, 800, 600)), QRect());
        QCOMPARE(kit().ink().count(), 1);
        QCOMPARE(f->shown(QPoint(200, 100)), QColor(0, 0, 255));
        // A second stroke a second later keeps its own clock.
        now += 1000;
        drawPenStroke(300);
        QCOMPARE(kit().ink().count(), 2);
        tickAt(2500); // the first is halfway through its fade
        const QColor fading = f->shown(QPoint(200, 100));
        QVERIFY2(fading != QColor(0, 0, 255) && fading != paper, qPrintable(fading.name()));
        QCOMPARE(f->shown(QPoint(200, 300)), QColor(0, 0, 255));
        tickAt(3000);
        QCOMPARE(kit().ink().count(), 1);
        QCOMPARE(f->shown(QPoint(200, 100)), paper);
        QVERIFY(kit().animator().isRunning());
        tickAt(4000);
        QCOMPARE(kit().ink().count(), 0);
        QCOMPARE(f->shown(QPoint(200, 300)), paper);
        QVERIFY(!kit().animator().isRunning());
        // Switched off, the pen draws into the page again.
        kit().setFadingInk(false);
        drawPenStroke(200);
        QCOMPARE(f->objects().size(), 1);
        QCOMPARE(f->commands(), 1);
    }

    void fadingInkStaysOutOfExportsUndoAndOtherPages()
    {
        kit().setFadingInk(true);
        ToolKit::instance().setCurrentTool(ToolKit::Pen);
        f->addStroke(QPointF(100, 400), QPointF(300, 400)); // a kept red stroke
        drawPenStroke(100);
        f->send(QEvent::MouseButtonPress, QPointF(100, 200), Qt::LeftButton, Qt::ControlModifier);
        f->send(QEvent::MouseMove, QPointF(300, 200), Qt::LeftButton, Qt::ControlModifier);
        f->send(QEvent::MouseButtonRelease, QPointF(300, 200), Qt::NoButton, Qt::ControlModifier);
        QCOMPARE(kit().ink().count(), 2);
        QCOMPARE(f->objects().size(), 1);
        const QImage exported = PageRenderer::renderPage(f->page());
        QCOMPARE(exported.pixelColor(200, 400), QColor(Qt::red));
        QVERIFY(exported.pixelColor(200, 100) != QColor(0, 0, 255));
        QVERIFY(exported.pixelColor(200, 200) != QColor(0, 0, 255));
        // Undo takes back the kept stroke, not the fading ones.
        QVERIFY(f->view->document().undo());
        QCOMPARE(f->objects().size(), 0);
        QCOMPARE(kit().ink().count(), 2);
        // Another page and back: the fading ink stayed behind and is gone.
        f->view->newPage();
        QCOMPARE(kit().ink().count(), 0);
        QVERIFY(f->view->document().gotoPage(0));
        QVERIFY(f->shown(QPoint(200, 100)) != QColor(0, 0, 255));
    }

    void spotlightDarkensAllButACircleTheWheelResizes()
    {
        AppState::instance().presenter.spotlightRadius = 100;
        AppState::instance().presenter.spotlightOpacity = 60;
        ToolKit::instance().setCurrentTool(ToolKit::Spotlight);
        auto *spotlight = static_cast<SpotlightTool *>(ToolKit::instance().currentTool());
        const QColor paper = f->shown(QPoint(400, 300));
        spotlight->aim(f->view, QPointF(400, 300));
        QTRY_VERIFY(brightness(f->shown(QPoint(50, 50))) < brightness(paper) / 2);
        QCOMPARE(f->shown(QPoint(400, 300)), paper);
        QCOMPARE(f->shown(QPoint(480, 300)), paper);
        QVERIFY(brightness(f->shown(QPoint(530, 300))) < brightness(paper) / 2);
        // Two notches up: about 121 px, so 115 px away is lit now.
        wheel(2);
        QCOMPARE(spotlight->radius(), 121);
        QTRY_COMPARE(f->shown(QPoint(515, 300)), paper);
        wheel(-5);
        QCOMPARE(spotlight->radius(), 75);
        QTRY_VERIFY(brightness(f->shown(QPoint(480, 300))) < brightness(paper) / 2);
        wheel(-30);
        QCOMPARE(spotlight->radius(), PresenterSettings::MinRadius);
        // A move repaints around the old and new circle, not the screen.
        QCoreApplication::processEvents();
        PaintSpy spy;
        f->view->installEventFilter(&spy);
        f->move(QPoint(300, 300));
        QVERIFY(kit().animator().isRunning());
        kit().animator().tick();
        QTRY_VERIFY(!spy.regions.isEmpty());
        const QRegion repainted = spy.regions.last();
        QVERIFY(repainted.contains(QPoint(300, 300)) && repainted.contains(QPoint(400, 300)));
        QVERIFY(!repainted.contains(QPoint(50, 50)));
        QCOMPARE(f->shown(QPoint(300, 300)), paper);
        QVERIFY(brightness(f->shown(QPoint(400, 300))) < brightness(paper) / 2);
        // The spotlight adds nothing to the page.
        QVERIFY(f->objects().isEmpty());
    }
};

QTEST_MAIN(TestPresenter)
#include "test_presenter.moc"
