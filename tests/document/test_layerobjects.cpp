#include "pixels.h"
#include "testhost.h"

#include "app/appstate.h"
#include "document/addcommand.h"
#include "document/movecommand_stroke.h"
#include "document/objselect.h"
#include "document/objstroke.h"
#include "document/objtext.h"

#include <QTextDocument>
#include <QUndoStack>
#include <QtTest>

// Text objects and moved pieces of the layer.
class TestLayerObjects : public QObject
{
    Q_OBJECT

    // What the select tool makes of a rectangle of the layer.
    static ObjSelect *selectRect(const QImage &layer, const QRect &area)
    {
        auto *sel = new ObjSelect;
        sel->path.addRect(area);
        sel->rect = area;
        sel->centre = QRectF(area).center();
        sel->setImage(new QImage(layer.copy(area)));
        return sel;
    }

private slots:
    void init() { AppState::reset(); }

    void textPaintsAtItsCorner()
    {
        ObjText text;
        QVERIFY(Pixels::ink(Pixels::paint(text)).isNull()); // no document yet

        auto *doc = new QTextDocument;
        doc->setDefaultFont(text.font);
        doc->setPlainText(QStringLiteral("Ink"));
        text.setDocument(doc);
        text.rect = QRectF(60, 80, 0, 0);
        QImage img = Pixels::paint(text);
        QRect ink = Pixels::ink(img);
        QVERIFY(!ink.isNull());
        QVERIFY(ink.left() >= 60 && ink.top() >= 80 && ink.left() < 80 && ink.top() < 110);

        text.opacity = 50;
        img = Pixels::paint(text);
        int strongest = 0;
        for (int y = ink.top(); y <= ink.bottom(); ++y)
            for (int x = ink.left(); x <= ink.right(); ++x)
                strongest = std::max(strongest, Pixels::alphaAt(img, x, y));
        QVERIFY(qAbs(strongest - 128) <= 2);
    }

    void textCloneHasItsOwnDocument()
    {
        auto source = std::make_unique<ObjText>();
        source->setDocument(new QTextDocument(QStringLiteral("before")));
        std::unique_ptr<ObjText> copy(static_cast<ObjText *>(source->clone()));
        QVERIFY(copy->document != source->document);
        QVERIFY(!copy->document->parent());
        copy->document->setPlainText(QStringLiteral("after"));
        QCOMPARE(source->document->toPlainText(), QStringLiteral("before"));
        source.reset();
        QCOMPARE(copy->document->toPlainText(), QStringLiteral("after"));

        ObjText empty;
        std::unique_ptr<Obj> emptyCopy(empty.clone());
        QVERIFY(!static_cast<ObjText *>(emptyCopy.get())->document);
    }

    void selectionHoleStaysUnderLaterStrokes()
    {
        MainPage page(QSize(300, 300), false);
        TestHost host(&page);
        page.undoStack->push(
            new AddCommand(&host, Pixels::line(QPointF(20, 50), QPointF(280, 50), 10)));
        host.rebuild();
        const QImage original = host.layer;

        auto *sel = selectRect(host.layer, QRect(100, 30, 60, 40));
        sel->moveBy(QPointF(0, 150));
        page.undoStack->push(new AddCommand(&host, sel));
        page.undoStack->push(
            new AddCommand(&host, Pixels::line(QPointF(130, 10), QPointF(130, 290), 10, Qt::blue)));
        host.rebuild();
        QCOMPARE(Pixels::alphaAt(host.layer, 110, 50), 0); // the hole
        QCOMPARE(host.layer.pixelColor(60, 50), QColor(Qt::red));
        QCOMPARE(host.layer.pixelColor(110, 200), QColor(Qt::red)); // the moved piece
        QCOMPARE(host.layer.pixelColor(130, 50), QColor(Qt::blue)); // later stroke crosses the hole
        QCOMPARE(host.layer.pixelColor(130, 200), QColor(Qt::blue));

        // A second drag only moves the copy; undoing everything restores the stroke.
        page.undoStack->push(new MoveCommand_Stroke(&host, sel, QPointF(50, 0)));
        QCOMPARE(sel->rect, QRectF(150, 180, 60, 40));
        page.undoStack->undo();
        QCOMPARE(sel->rect, QRectF(100, 180, 60, 40));
        QCOMPARE(host.cacheUpdates.size(), 1);
        QVERIFY(host.cacheUpdates.last().contains(QRect(98, 178, 114, 44)));
        page.undoStack->undo();
        page.undoStack->undo();
        QCOMPARE(Pixels::differences(host.layer, original, host.layer.rect()), 0);
    }

    void selectionCloneOwnsItsPixels()
    {
        QImage layer = Pixels::blank();
        layer.fill(Qt::green);
        auto source = std::unique_ptr<ObjSelect>(selectRect(layer, QRect(10, 10, 30, 20)));
        source->moveBy(QPointF(100, 100));
        std::unique_ptr<Obj> copy(source->clone());
        const auto paintOver = [&layer](Obj &obj) {
            QImage img = layer;
            {
                QPainter p(&img);
                obj.paint(&p);
            }
            return img;
        };
        const QImage expected = paintOver(*source);
        source.reset();
        const QImage actual = paintOver(*copy);
        QCOMPARE(actual, expected);
        QCOMPARE(Pixels::alphaAt(actual, 20, 20), 0);
        QCOMPARE(actual.pixelColor(120, 120), QColor(Qt::green));

        // A cleared selection has no pixels to copy.
        ObjSelect cleared;
        cleared.path.addRect(0, 0, 5, 5);
        cleared.setImage(new QImage(5, 5, QImage::Format_ARGB32));
        cleared.clear();
        std::unique_ptr<Obj> clearedCopy(cleared.clone());
    }

    void selectionPaintRectCoversHoleAndCopy()
    {
        ObjSelect sel;
        sel.path.addRect(10, 10, 30, 20);
        sel.rect = QRectF(100.4, 5, 30, 20);
        QCOMPARE(sel.paintRect(), QRect(8, 3, 124, 29)); // each component rounded on its own
    }
};

QTEST_MAIN(TestLayerObjects)
#include "test_layerobjects.moc"
