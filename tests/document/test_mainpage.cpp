#include "pixels.h"
#include "testhost.h"

#include "app/appstate.h"
#include "document/addcommand.h"
#include "document/imagestatic.h"
#include "document/mainpage.h"
#include "document/objstroke.h"

#include <QPointer>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

class TestMainPage : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString greenPicture;

    static ObjStroke *stroke(int y, const QColor &colour)
    {
        return Pixels::line(QPointF(20, y), QPointF(180, y), 6, colour);
    }

    ImageStatic *picture(const QPointF &at)
    {
        auto *image = new ImageStatic(QRectF(at, QSizeF()));
        image->load(greenPicture);
        return image;
    }

private slots:
    void initTestCase()
    {
        greenPicture = Pixels::savePicture(dir.filePath("green.png"), QSize(40, 40), Qt::green);
    }

    void init() { AppState::reset(); }

    void undoHistoryMarksThePageModified()
    {
        MainPage page(QSize(200, 200), false);
        TestHost host(&page);
        page.modified = false;
        page.undoStack->push(new AddCommand(&host, stroke(50, Qt::red)));
        QVERIFY(page.modified);
        page.modified = false;
        page.undoStack->undo();
        QVERIFY(page.modified);
    }

    void cloneSharesNothing()
    {
        auto source = std::make_unique<MainPage>(QSize(200, 200), true);
        TestHost host(source.get());
        source->undoStack->push(new AddCommand(&host, stroke(50, Qt::red)));
        source->undoStack->push(new AddCommand(&host, picture(QPointF(100, 100))));

        std::unique_ptr<MainPage> copy(source->clone());
        QVERIFY(copy->id != source->id);
        QCOMPARE(copy->undoStack->count(), 0);
        QCOMPARE(copy->objects.size(), 2);
        QCOMPARE(copy->owned, copy->objects);
        for (Obj *obj : copy->objects)
            QVERIFY(!source->objects.contains(obj));
        QCOMPARE(copy->objects.at(1)->kind, int(KindImageStatic));

        copy->objects.at(1)->moveBy(QPointF(5, 5));
        QCOMPARE(source->objects.at(1)->rect.topLeft(), QPointF(100, 100));

        // Freeing the source leaves the copy whole; freeing the copy frees its objects.
        QPointer<Obj> copied = copy->objects.first();
        source.reset();
        QImage layer = Pixels::blank(QSize(200, 200));
        copy->renderLayer(&layer, QRect());
        QCOMPARE(layer.pixelColor(100, 50), QColor(Qt::red));
        copy.reset();
        QVERIFY(copied.isNull());
    }

    void twoPassesAndTheClip()
    {
        MainPage page(QSize(200, 200), false);
        TestHost host(&page);
        page.undoStack->push(new AddCommand(&host, picture(QPointF(0, 0))));
        page.undoStack->push(new AddCommand(&host, stroke(30, Qt::red)));
        page.undoStack->push(new AddCommand(&host, stroke(150, Qt::blue)));

        QImage floating = Pixels::blank(QSize(200, 200));
        QPainter p(&floating);
        page.paint(&p, true, QRect(0, 0, 1, 1));
        p.end();
        QCOMPARE(Pixels::ink(floating), QRect(0, 0, 40, 40));

        // No painter clip: only the choice of objects shows.
        QImage layer = Pixels::blank(QSize(200, 200));
        p.begin(&layer);
        page.paint(&p, false, QRect(100, 140, 10, 10));
        p.end();
        QCOMPARE(Pixels::ink(layer), QRect(17, 147, 166, 6));

        layer.fill(Qt::transparent);
        p.begin(&layer);
        page.paint(&p, false, QRect(10, 10, -5, 5)); // invalid: everything
        p.end();
        QCOMPARE(Pixels::ink(layer), QRect(17, 27, 166, 126));
        QCOMPARE(Pixels::alphaAt(layer, 5, 5), 0); // never the picture
    }

    void deletingThePageFreesEveryObject()
    {
        auto page = std::make_unique<MainPage>(QSize(200, 200), false);
        TestHost host(page.get());
        QPointer<Obj> kept = stroke(20, Qt::red);
        QPointer<Obj> undone = stroke(40, Qt::red);
        QPointer<Obj> appended = stroke(60, Qt::red);
        page->undoStack->push(new AddCommand(&host, kept));
        page->undoStack->push(new AddCommand(&host, undone));
        page->undoStack->undo();
        page->appendObjects({ appended }, false);
        QCOMPARE(page->objects.size(), 2);
        page.reset();
        QVERIFY(kept.isNull() && undone.isNull() && appended.isNull());
    }
};

QTEST_MAIN(TestMainPage)
#include "test_mainpage.moc"
