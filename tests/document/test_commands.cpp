#include "pixels.h"
#include "testhost.h"

#include "app/appstate.h"
#include "document/addcommand.h"
#include "document/commanddelobject.h"
#include "document/commandmoveobject.h"
#include "document/commandresizeobject.h"
#include "document/commandrotateobject.h"
#include "document/imagestatic.h"
#include "document/objeraser.h"
#include "document/objstroke.h"
#include "document/removecommand.h"

#include <QPointer>
#include <QUndoStack>
#include <QtTest>

class TestCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<MainPage> page;
    std::unique_ptr<TestHost> host;

    QUndoStack *stack() const { return page->undoStack; }

    Obj *add(Obj *obj)
    {
        stack()->push(new AddCommand(host.get(), obj));
        return obj;
    }

    static ObjStroke *stroke(int y) { return Pixels::line(QPointF(20, y), QPointF(280, y), 8); }

    static ImageStatic *image(const QRectF &r) { return new ImageStatic(r); }

private slots:
    void init()
    {
        AppState::reset();
        page = std::make_unique<MainPage>(QSize(800, 600), false);
        host = std::make_unique<TestHost>(page.get());
    }

    void cleanup()
    {
        page.reset();
        host.reset();
    }

    void addRepaintsOnlyAfterThePush()
    {
        Obj *s = add(stroke(50));
        QCOMPARE(page->objects, QList<Obj *> { s });
        QVERIFY(host->cacheUpdates.isEmpty() && host->repaints.isEmpty());
        host->rebuild();
        stack()->undo();
        QVERIFY(page->objects.isEmpty());
        QCOMPARE(host->cacheUpdates, QList<QRect> { s->paintRect() });
        QCOMPARE(host->repaints, QList<QRect> { s->paintRect() });
        QCOMPARE(Pixels::alphaAt(host->layer, 150, 50), 0);
        stack()->redo();
        QCOMPARE(page->objects, QList<Obj *> { s });
        QCOMPARE(host->cacheUpdates.size(), 2);
        QCOMPARE(host->layer.pixelColor(150, 50), QColor(Qt::red));
    }

    void undoneAddIsFreedByTheNextPush()
    {
        QPointer<Obj> first = add(stroke(50));
        stack()->undo();
        QVERIFY(!first.isNull()); // the undone command still owns it
        QPointer<Obj> second = add(stroke(80));
        QVERIFY(first.isNull());
        QVERIFY(!stack()->canRedo());
        QCOMPARE(page->objects, QList<Obj *> { second.data() });
    }

    void undoneEraserBringsTheStrokeBack()
    {
        add(stroke(50));
        host->rebuild();
        const QImage drawn = host->layer;
        auto *eraser = new ObjEraser;
        eraser->width = 40;
        eraser->appendSegment(QPointF(150, 0), QPointF(150, 100));
        add(eraser);
        host->rebuild();
        QCOMPARE(Pixels::alphaAt(host->layer, 150, 50), 0);
        stack()->undo();
        QCOMPARE(Pixels::differences(host->layer, drawn, host->layer.rect()), 0);
        stack()->redo();
        QCOMPARE(Pixels::alphaAt(host->layer, 150, 50), 0);
    }

    void clearAndUndoRestoreTheOrder()
    {
        const QList<Obj *> objects = { add(stroke(50)), add(image(QRectF(10, 10, 50, 50))),
                                       add(stroke(90)), add(image(QRectF(70, 10, 50, 50))) };
        host->rebuild();
        stack()->push(new RemoveCommand(host.get()));
        QVERIFY(page->objects.isEmpty());
        QVERIFY(host->cacheUpdates.isEmpty());
        stack()->undo();
        QCOMPARE(page->objects, objects);
        QCOMPARE(host->layer.pixelColor(150, 90), QColor(Qt::red));
        stack()->redo();
        QVERIFY(page->objects.isEmpty());
        QCOMPARE(Pixels::alphaAt(host->layer, 150, 90), 0);
        // Nothing is freed by clearing: the add commands below still own everything.
        QPointer<Obj> watched = objects.first();
        stack()->undo();
        stack()->push(new RemoveCommand(host.get()));
        QVERIFY(!watched.isNull());
    }

    void deleteRestoresThePaintingOrder()
    {
        Obj *a = add(image(QRectF(10, 10, 50, 50)));
        Obj *b = add(image(QRectF(20, 20, 50, 50)));
        Obj *c = add(image(QRectF(30, 30, 50, 50)));
        Obj *d = add(image(QRectF(40, 40, 50, 50)));
        host->selected = { b };
        stack()->push(new CommandDelObject(host.get(), b));
        QCOMPARE(page->objects, (QList<Obj *> { a, c, d }));
        QVERIFY(host->selected.isEmpty());
        QVERIFY(!host->repaints.isEmpty());
        stack()->undo();
        QCOMPARE(page->objects, (QList<Obj *> { a, b, c, d }));
        QCOMPARE(host->selected, QList<Obj *> { b });

        // Neighbours deleted together, the last one included.
        stack()->push(new CommandDelObject(host.get(), QList<Obj *> { b, c, d }));
        QCOMPARE(page->objects, QList<Obj *> { a });
        stack()->undo();
        QCOMPARE(page->objects, (QList<Obj *> { a, b, c, d }));

        // An object that was not on the page is not put on it by undo.
        auto stray = std::unique_ptr<Obj>(image(QRectF(0, 0, 5, 5)));
        stack()->push(new CommandDelObject(host.get(), QList<Obj *> { stray.get(), a }));
        QCOMPARE(page->objects, (QList<Obj *> { b, c, d }));
        stack()->undo();
        QCOMPARE(page->objects, (QList<Obj *> { a, b, c, d }));
    }

    void clampedMoveIsUndoneExactly()
    {
        Obj *obj = add(image(QRectF(100.25, 100, 200.5, 100)));
        host->selected = { obj };
        const QRectF start = obj->rect;
        stack()->push(new CommandMoveObject(host.get(), QPointF(-1000, 30)));
        QVERIFY(obj->rect.right() >= 24 && obj->rect.right() < 25);
        QCOMPARE(obj->rect.y(), 130.0);
        QCOMPARE(obj->centre, obj->rect.center());
        QCOMPARE(host->repaints.size(), 2);
        stack()->undo();
        QCOMPARE(obj->rect, start);
        stack()->redo();
        QVERIFY(obj->rect.right() >= 24 && obj->rect.right() < 25);

        // The command copied the selection: later selection changes do not matter.
        host->selected.clear();
        stack()->undo();
        QCOMPARE(obj->rect, start);
    }

    void resizeAndRotate()
    {
        Obj *obj = add(image(QRectF(100, 100, 200, 100)));
        host->selected = { obj };
        stack()->push(new CommandResizeObject(host.get(), obj->rect, QRectF(50, 60, 70, 80)));
        QCOMPARE(obj->rect, QRectF(50, 60, 70, 80));
        QCOMPARE(obj->centre, QPointF(85, 100));
        stack()->undo();
        QCOMPARE(obj->rect, QRectF(100, 100, 200, 100));
        QCOMPARE(obj->centre, QPointF(200, 150));

        stack()->push(new CommandRotateObject(host.get(), 30));
        QCOMPARE(obj->angle, 30.0f);
        obj->setAngle(20);
        stack()->undo();
        QCOMPARE(obj->angle, -10.0f); // never wrapped
        stack()->redo();
        stack()->redo();
        QCOMPARE(obj->angle, 20.0f);
    }
};

QTEST_GUILESS_MAIN(TestCommands)
#include "test_commands.moc"
