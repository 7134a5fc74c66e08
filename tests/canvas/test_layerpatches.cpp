#include "canvasfixture.h"

#include "document/movecommand_stroke.h"
#include "document/objeraser.h"

#include <QRandomGenerator>

// Undo and redo copy back patches of the layer saved or rendered ahead: the
// page must show exactly what a render of it shows.
class TestLayerPatches : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;
    MainView *view = nullptr;

    ObjStroke *stroke(QRandomGenerator &rng) const
    {
        const QSize size = canvas->page()->size;
        auto *s = new ObjStroke;
        s->width = rng.bounded(1, 14);
        s->colour = QColor::fromRgb(rng.generate() | 0x60000000u);
        QPointF at(rng.bounded(size.width()), rng.bounded(size.height()));
        s->path.moveTo(at);
        s->path.lineTo(at + QPointF(0.05, 0.05));
        for (int p = 0; p < 30; ++p) {
            const QPointF next = at + QPointF(rng.bounded(30.0) - 15, rng.bounded(30.0) - 15);
            s->path.quadTo(at, (at + next) / 2);
            at = next;
        }
        return s;
    }

    // The eraser's stroke: it clears the pixels of what lies under it.
    ObjEraser *eraser(QRandomGenerator &rng) const
    {
        const QSize size = canvas->page()->size;
        auto *e = new ObjEraser;
        e->width = rng.bounded(10, 60);
        QPointF at(rng.bounded(size.width()), rng.bounded(size.height()));
        for (int p = 0; p < 10; ++p) {
            const QPointF next = at + QPointF(rng.bounded(40.0) - 20, rng.bounded(40.0) - 20);
            e->appendSegment(at, next);
            at = next;
        }
        return e;
    }

    // Pushed as a tool pushes, then the whole layer rendered.
    void push(QUndoCommand *command)
    {
        QVERIFY(view->pushCommand(command));
        view->updateObjectCache(canvas->page(), QRect());
    }

    Obj *anyObject(QRandomGenerator &rng) const
    {
        const QList<Obj *> &objects = canvas->objects();
        return objects.at(rng.bounded(int(objects.size())));
    }

    // What the view shows beside what it shows after a whole render.
    bool showsAFreshRender()
    {
        const QImage shown = view->grab().toImage();
        view->updateObjectCache(canvas->page(), QRect());
        return shown == view->grab().toImage();
    }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
        view = canvas->view;
    }

    void cleanup() { canvas.reset(); }

    // Strokes, undos, redos, moves and eraser strokes in a seeded random order, with
    // the patches rendered ahead arrived or still under way.
    void stepsShowWhatAFreshRenderShows()
    {
        QRandomGenerator rng(28);
        for (int i = 0; i < 40; ++i)
            push(new AddCommand(view, stroke(rng)));
        for (int step = 0; step < 150; ++step) {
            const int kind = rng.bounded(100);
            if (kind < 30) {
                push(new AddCommand(view, stroke(rng)));
            } else if (kind < 60) {
                view->document().undo();
            } else if (kind < 85) {
                view->document().redo();
            } else if (kind < 93 && !canvas->objects().isEmpty()) {
                const QPointF offset(rng.bounded(80) - 40, rng.bounded(80) - 40);
                push(new MoveCommand_Stroke(view, anyObject(rng), offset));
            } else {
                push(new AddCommand(view, eraser(rng)));
            }
            if (rng.bounded(3) == 0)
                QTRY_VERIFY(!view->isDecodingAhead());
            QVERIFY2(showsAFreshRender(),
                     qPrintable(QStringLiteral("step %1, kind %2").arg(step).arg(kind)));
        }
    }

    // The undo of a stroke just drawn comes from a patch: the objects below
    // changed behind the history's back do not show.
    void undoOfAPushCopiesThePatchBack()
    {
        ObjStroke *below = canvas->addStroke(QPointF(100, 100), QPointF(300, 120));
        auto *top = new ObjStroke;
        top->width = 10;
        top->colour = Qt::blue;
        top->path.moveTo(150, 80);
        top->path.lineTo(250, 150);
        push(new AddCommand(view, top));
        QTRY_VERIFY(!view->isDecodingAhead());
        below->colour = Qt::green;
        view->document().undo();
        QVERIFY(!showsAFreshRender());
    }
};

QTEST_MAIN(TestLayerPatches)
#include "test_layerpatches.moc"
