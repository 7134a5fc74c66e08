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

    std::unique_ptr<MainPage> m_page;
    std::unique_ptr<TestHost> m_host;

    QUndoStack *stack() const { return m_page->undoStack; }

    Obj *add(Obj *obj)
    {
        stack()->push(new AddCommand(m_host.get(), obj));
        return obj;
    }

    static ObjStroke *stroke(int y) { return Pixels::line(QPointF(20, y), QPointF(280, y), 8); }

    static ImageStatic *image(const QRectF &r) { return new ImageStatic(r); }

private slots:
    void init()
    {
        AppState::reset();
        m_page = std::make_unique<MainPage>(QSize(800, 600), false);
        m_host = std::make_unique<TestHost>(m_page.get());
    }

    void cleanup()
    {
        m_page.reset();
        m_host.reset();
    }

    void addRepaintsOnlyAfterThePush()
    {
        Obj *s = add(stroke(50));
        QCOMPARE(m_page->objects, QList<Obj *> { s });
        QVERIFY(m_host->cacheUpdates.isEmpty() && m_host->repaints.isEmpty());
        m_host->rebuild();
        stack()->undo();
        QVERIFY(m_page->objects.isEmpty());
        QCOMPARE(m_host->cacheUpdates, QList<QRect> { s->paintRect() });
        QCOMPARE(m_host->repaints, QList<QRect> { s->paintRect() });
        QCOMPARE(Pixels::alphaAt(m_host->layer, 150, 50), 0);
        stack()->redo();
        QCOMPARE(m_page->objects, QList<Obj *> { s });
        QCOMPARE(m_host->cacheUpdates.size(), 2);
        QCOMPARE(m_host->layer.pixelColor(150, 50), QColor(Qt::red));
    }

    void undoneAddIsFreedByTheNextPush()
    {
        QPointer<Obj> first = add(stroke(50));
        stack()->undo();
        QVERIFY(!first.isNull()); // the undone command still owns it
        QPointer<Obj> second = add(stroke(80));
        QVERIFY(first.isNull());
        QVERIFY(!stack()->canRedo());
        QCOMPARE(m_page->objects, QList<Obj *> { second.data() });
    }

    void undoneEraserBringsTheStrokeBack()
    {
        add(stroke(50));
        m_host->rebuild();
        const QImage drawn = m_host->layer;
        auto *eraser = new ObjEraser;
        eraser->width = 40;
        eraser->appendSegment(QPointF(150, 0), QPointF(150, 100));
        add(eraser);
        m_host->rebuild();
        QCOMPARE(Pixels::alphaAt(m_host->layer, 150, 50), 0);
        stack()->undo();
        QCOMPARE(Pixels::differences(m_host->layer, drawn, m_host->layer.rect()), 0);
        stack()->redo();
        QCOMPARE(Pixels::alphaAt(m_host->layer, 150, 50), 0);
    }

    void clearAndUndoRestoreTheOrder()
    {
        const QList<Obj *> objects = { add(stroke(50)), add(image(QRectF(10, 10, 50, 50))),
                                       add(stroke(90)), add(image(QRectF(70, 10, 50, 50))) };
        m_host->rebuild();
        stack()->push(new RemoveCommand(m_host.get()));
        QVERIFY(m_page->objects.isEmpty());
        QVERIFY(m_host->cacheUpdates.isEmpty());
        stack()->undo();
        QCOMPARE(m_page->objects, objects);
        QCOMPARE(m_host->layer.pixelColor(150, 90), QColor(Qt::red));
        stack()->redo();
        QVERIFY(m_page->objects.isEmpty());
        QCOMPARE(Pixels::alphaAt(m_host->layer, 150, 90), 0);
        // Nothing is freed by clearing: the add commands below still own everything.
        QPointer<Obj> watched = objects.first();
        stack()->undo();
        stack()->push(new RemoveCommand(m_host.get()));
        QVERIFY(!watched.isNull());
    }

    void deleteRestoresThePaintingOrder()
    {
        Obj *a = add(image(QRectF(10, 10, 50, 50)));
        Obj *b = add(image(QRectF(20, 20, 50, 50)));
        Obj *c = add(image(QRectF(30, 30, 50, 50)));
        Obj *d = add(image(QRectF(40, 40, 50, 50)));
        m_host->selected = { b };
        stack()->push(new CommandDelObject(m_host.get(), b));
        QCOMPARE(m_page->objects, (QList<Obj *> { a, c, d }));
        QVERIFY(m_host->selected.isEmpty());
        QVERIFY(!m_host->repaints.isEmpty());
        stack()->undo();
        QCOMPARE(m_page->objects, (QList<Obj *> { a, b, c, d }));
        QCOMPARE(m_host->selected, QList<Obj *> { b });

        // Neighbours deleted together, the last one included.
        stack()->push(new CommandDelObject(m_host.get(), QList<Obj *> { b, c, d }));
        QCOMPARE(m_page->objects, QList<Obj *> { a });
        stack()->undo();
        QCOMPARE(m_page->objects, (QList<Obj *> { a, b, c, d }));

        // An object that was not on the page is not put on it by undo.
        auto stray = std::unique_ptr<Obj>(image(QRectF(0, 0, 5, 5)));
        stack()->push(new CommandDelObject(m_host.get(), QList<Obj *> { stray.get(), a }));
        QCOMPARE(m_page->objects, (QList<Obj *> { b, c, d }));
        stack()->undo();
        QCOMPARE(m_page->objects, (QList<Obj *> { a, b, c, d }));
    }

    void clampedMoveIsUndoneExactly()
    {
        Obj *obj = add(image(QRectF(100.25, 100, 200.5, 100)));
        m_host->selected = { obj };
        const QRectF start = obj->rect;
        stack()->push(new CommandMoveObject(m_host.get(), QPointF(-1000, 30)));
        QVERIFY(obj->rect.right() >= 24 && obj->rect.right() < 25);
        QCOMPARE(obj->rect.y(), 130.0);
        QCOMPARE(obj->centre, obj->rect.center());
        QCOMPARE(m_host->repaints.size(), 2);
        stack()->undo();
        QCOMPARE(obj->rect, start);
        stack()->redo();
        QVERIFY(obj->rect.right() >= 24 && obj->rect.right() < 25);

        // The command copied the selection: later selection changes do not matter.
        m_host->selected.clear();
        stack()->undo();
        QCOMPARE(obj->rect, start);
    }

    void resizeAndRotate()
    {
        Obj *obj = add(image(QRectF(100, 100, 200, 100)));
        m_host->selected = { obj };
        stack()->push(new CommandResizeObject(m_host.get(), obj->rect, QRectF(50, 60, 70, 80)));
        QCOMPARE(obj->rect, QRectF(50, 60, 70, 80));
        QCOMPARE(obj->centre, QPointF(85, 100));
        stack()->undo();
        QCOMPARE(obj->rect, QRectF(100, 100, 200, 100));
        QCOMPARE(obj->centre, QPointF(200, 150));

        stack()->push(new CommandRotateObject(m_host.get(), 30));
        QCOMPARE(obj->angle, 30.0f);
        obj->setAngle(20);
        stack()->undo();
        QCOMPARE(obj->angle, -10.0f); // never wrapped
        stack()->redo();
        stack()->redo();
        QCOMPARE(obj->angle, 20.0f);
    }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
