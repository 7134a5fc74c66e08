#include "canvas/erasertool.h"
#include "canvas/linetool.h"
#include "canvas/mytextedit.h"
#include "canvas/pentool.h"
#include "canvas/selecttool.h"
#include "canvas/shapetool.h"
#include "canvas/texteditwidget.h"
#include "canvas/texttool.h"
#include "canvas/tool.h"
#include "canvasfixture.h"
#include "document/objline.h"
#include "document/objshape.h"
#include "document/objstroke.h"
#include "document/objtext.h"

#include <QPainter>
#include <QPointingDevice>
#include <QWheelEvent>

// A zoomed page on a real canvas (CTest runs this at scale 1 and 2): every
// tool lands under the pointer at every zoom, ink stays sharp and keeps its
// width on the page, undo works across zooms, and the wheel, the middle
// button, Space and two fingers zoom and pan.
class TestPageZoom : public QObject
{
    Q_OBJECT

    std::unique_ptr<CanvasFixture> canvas;
    MainView *view = nullptr;
    QSize window;

    static qreal ratio() { return QGuiApplication::primaryScreen()->devicePixelRatio(); }

    QPointF centre() const { return QPointF(window.width(), window.height()) / 2; }

    // The canvas as the screen shows it, once zoom steps have settled.
    QImage screen() const
    {
        [&] { QTRY_VERIFY(!view->isZoomSettling()); }();
        return view->grab().toImage();
    }
    QColor shownAt(const QImage &image, const QPointF &viewPoint) const
    {
        return image.pixelColor((viewPoint * ratio()).toPoint());
    }
    static bool inked(const QColor &c) { return c.red() < 100 && c.blue() > 100; }

    QPointF underPointer(const QPointF &viewPoint) const
    {
        return view->transform().toPage(viewPoint);
    }

    void useTool(int id, int width = 3)
    {
        ToolKit::instance().setCurrentTool(id);
        ToolKit::instance().eraserTool()->eraserTemplate.width = width + 1;
        ToolKit::instance().penTool()->strokeTemplate.width = width;
        ToolKit::instance().penTool()->strokeTemplate.colour = QColor(0, 0, 200);
    }

    void wheel(const QPointF &at, const QPoint &angle, Qt::KeyboardModifiers mods)
    {
        QWheelEvent event(at, view->mapToGlobal(at), QPoint(), angle, Qt::NoButton, mods,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(view, &event);
    }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
        window = canvas->window->size();
        view = canvas->view;
        view->currentPage()->colour = Qt::white;
    }
    void cleanup() { canvas.reset(); }

    void toolsLandUnderThePointer_data()
    {
        QTest::addColumn<qreal>("zoom");
        for (const qreal zoom : { 0.25, 1.0, 3.33, 8.0 })
            QTest::addRow("%g", zoom) << zoom;
    }
    void toolsLandUnderThePointer()
    {
        QFETCH(qreal, zoom);
        view->zoomTo(zoom, centre());
        QCOMPARE(view->zoom(), zoom);
        const qreal span = qMin(view->width(), view->height()) / 6.0;
        const QPointF step(span / 2, 0);
        const QPointF from = QPointF(view->width(), view->height()) / 2 - QPointF(span, span / 4);
        const QPointF to = from + 3 * step;

        // Below 100 % a wider pen, to stay visible.
        const int width = zoom < 1 ? 12 : 3;
        useTool(ToolKit::Pen, width);
        canvas->drag(
            { from.toPoint(), (from + step).toPoint(), (from + 2 * step).toPoint(), to.toPoint() });
        auto *stroke = canvas->lastObject<ObjStroke>();
        QVERIFY(stroke);
        const qreal slack = 1 / (zoom * ratio()) + 1e-6;
        QVERIFY(QLineF(stroke->path.elementAt(0), underPointer(from)).length() <= slack);
        QCOMPARE(stroke->width, width); // page units at any zoom
        const QImage shown = screen();
        QVERIFY(inked(shownAt(shown, from + step)));
        if (zoom >= 3) {
            // As wide as the zoom makes three page pixels, drawn sharp.
            const qreal half = 1.5 * zoom;
            QVERIFY(inked(shownAt(shown, from + step + QPointF(0, half - 1.5))));
            QVERIFY(!inked(shownAt(shown, from + step + QPointF(0, half + 2))));
        }

        useTool(ToolKit::Line);
        const QPointF below = from + QPointF(0, span / 2);
        const QPointF lineEnd = below + QPointF(span, span / 4);
        canvas->drag({ below.toPoint(), lineEnd.toPoint() });
        auto *line = canvas->lastObject<ObjLine>();
        QVERIFY(line);
        QVERIFY(QLineF(line->line.p1(), underPointer(below)).length() <= slack);
        QVERIFY(QLineF(line->line.p2(), underPointer(lineEnd)).length() <= slack);

        useTool(ToolKit::Shape);
        const QPointF corner = from - QPointF(0, span);
        canvas->drag({ corner.toPoint(), (corner + QPointF(span / 2, span / 3)).toPoint() });
        auto *shape = canvas->lastObject<ObjShape>();
        QVERIFY(shape);
        QVERIFY(QLineF(shape->rect.normalized().topLeft(), underPointer(corner)).length() <= slack);

        // The eraser takes the pen's ink away where it passes on screen.
        useTool(ToolKit::Eraser, width);
        const QPointF rubbed = from + step;
        const QPointF across(0, span / 8);
        canvas->drag({ (rubbed - across).toPoint(), (rubbed + across).toPoint() });
        QVERIFY(!inked(shownAt(screen(), rubbed)));
        QVERIFY(inked(shownAt(screen(), from + 2.3 * step)));
    }

    // An image is picked, moved and turned by its handles where they are
    // shown: it changes by the page distance the pointer went.
    void selectionHandlesWorkAtTheZoom_data()
    {
        QTest::addColumn<qreal>("zoom");
        for (const qreal zoom : { 0.5, 3.33 })
            QTest::addRow("%g", zoom) << zoom;
    }
    void selectionHandlesWorkAtTheZoom()
    {
        QFETCH(qreal, zoom);
        const QPointF corner = centre() * 0.6; // well inside the page at any scale
        ImageStatic *image = canvas->addImage(corner);
        // Near the top, so that the turning handle above stays on screen.
        const QPointF inside = corner + QPointF(50, 10);
        view->zoomTo(zoom, view->transform().toView(inside) + view->pos());
        auto onView = [this](const QPointF &p) { return view->transform().toView(p).toPoint(); };
        ToolKit::instance().setCurrentTool(ToolKit::Select);
        canvas->click(onView(inside));
        QCOMPARE(ToolKit::instance().selectTool()->selectedObjects(), QList<Obj *> { image });

        const qreal slack = 1 / (zoom * ratio()) + 1e-6;
        canvas->drag({ onView(corner + QPointF(40, 20)), onView(corner + QPointF(45, 22)),
                       onView(corner + QPointF(70, 40)) });
        QVERIFY(QLineF(image->rect.topLeft(), corner + QPointF(30, 20)).length() <= 2 * slack);

        const QPointF middle = image->rect.center();
        canvas->drag({ onView(image->handlePos(9)), onView(middle + QPointF(10, -25)),
                       onView(middle + QPointF(20, -20)) });
        QVERIFY(qAbs(image->angle - 45) < 1);
    }

    // What the screen shows at 400 % is the page's ink drawn at 400 %, not
    // the page's pixels enlarged.
    void inkIsDrawnAtTheZoom()
    {
        canvas->addStroke(QPointF(300, 300), QPointF(420, 347), 3);
        view->zoomTo(4, view->transform().toView(QPointF(360, 320)) + view->pos());
        const QImage shown = screen();
        QImage truth(shown.size(), QImage::Format_ARGB32_Premultiplied);
        truth.setDevicePixelRatio(ratio());
        truth.fill(Qt::white);
        {
            QPainter painter(&truth);
            painter.translate(view->transform().origin());
            painter.scale(4, 4);
            canvas->objects().constFirst()->paint(&painter);
        }
        // Inside the frame, below the label.
        const QRect inside = QRect(QPoint(0, 0), window).adjusted(40, 80, -40, -40);
        int differing = 0, edge = 0;
        for (int y = inside.top() * ratio(); y < inside.bottom() * ratio(); y += 2)
            for (int x = inside.left() * ratio(); x < inside.right() * ratio(); x += 2) {
                const QRgb a = shown.pixel(x, y), b = truth.pixel(x, y);
                edge += qGreen(b) > 0 && qGreen(b) < 255;
                differing += qAbs(qRed(a) - qRed(b)) > 8 || qAbs(qGreen(a) - qGreen(b)) > 8;
            }
        QVERIFY(edge > 0);
        QCOMPARE(differing, 0);
    }

    // Between wheel steps the picture is scaled as it is drawn, not copied
    // fitted for every step: it shows where the settled frame shows it.
    void aPictureBetweenStepsIsWhereItSettles()
    {
        // Red grows to the right and green downwards: a colour tells where
        // on the page it comes from.
        const QSize pixels = window * ratio();
        QImage picture(pixels, QImage::Format_RGB32);
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                picture.setPixel(x, y,
                                 qRgb(x * 255 / pixels.width(), y * 255 / pixels.height(), 0));
        picture.setDevicePixelRatio(ratio());
        view->setBackground(QPixmap::fromImage(picture));
        auto near = [](const QColor &a, const QColor &b) {
            return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2;
        };
        for (const int notches : { -3, 4, -2 }) {
            wheel(centre() - view->pos() + QPointF(17, 9), QPoint(0, 120 * notches),
                  Qt::ControlModifier);
            QVERIFY(view->isZoomSettling());
            const QImage stepping = view->grab().toImage();
            const QImage settled = screen();
            for (int i = 1; i < 8; ++i) {
                const QPointF onPage(window.width() * i / 8.0, window.height() * (8 - i) / 8.0);
                const QPointF onView = view->transform().toView(onPage);
                // Inside the frame, below the label.
                if (!QRectF(view->rect()).adjusted(40, 80, -40, -40).contains(onView))
                    continue;
                const QColor truth = picture.pixelColor((onPage * ratio()).toPoint());
                QVERIFY(near(shownAt(stepping, onView), truth));
                QVERIFY(near(shownAt(settled, onView), truth));
            }
        }
    }

    // Text typed on a zoomed page lands where it was begun, even when the
    // page moves while it is typed.
    void textStaysOnThePagePointItWasBegunAt()
    {
        view->zoomTo(2, centre());
        ToolKit::instance().setCurrentTool(ToolKit::Text);
        const QPointF at = centre() - QPointF(60, 60);
        const QPointF onPage = underPointer(at);
        canvas->click(at.toPoint());
        TextEditWidget *editor = ToolKit::instance().textTool()->textEditor();
        QVERIFY(editor);
        QTest::keyClicks(editor->textEdit(), QStringLiteral("Hi"));
        view->panBy(QPointF(-40, -30));
        QCOMPARE(editor->pos(), view->transform().toView(onPage).toPoint());
        canvas->click((centre() + QPointF(80, 80)).toPoint());
        auto *text = canvas->lastObject<ObjText>();
        QVERIFY(text);
        const QPointF margin(TextEditWidget::margin, TextEditWidget::margin);
        QVERIFY(QLineF(text->rect.topLeft() - margin, onPage).length() <= 1);
    }

    void undoWorksAcrossZooms()
    {
        view->zoomTo(4, centre());
        useTool(ToolKit::Pen);
        const QPointF at = QPointF(view->width(), view->height()) / 2;
        canvas->drag({ at.toPoint(), (at + QPointF(60, 0)).toPoint() });
        const QPointF onPage = underPointer(at + QPointF(30, 0));
        view->zoomToFit();
        QVERIFY(inked(shownAt(screen(), view->transform().toView(onPage))));
        view->currentPage()->undoStack->undo();
        QVERIFY(!inked(shownAt(screen(), view->transform().toView(onPage))));
        view->zoomTo(4, centre());
        view->currentPage()->undoStack->redo();
        QVERIFY(inked(shownAt(screen(), view->transform().toView(onPage))));
    }

    void theWheelZoomsAroundThePointerAndPans()
    {
        const QPointF at = centre() * 0.75 + QPointF(0.5, 0.25);
        const QPointF before = underPointer(at);
        wheel(at, QPoint(0, 3 * 120), Qt::ControlModifier);
        QCOMPARE(view->zoom(), 2.0);
        QVERIFY(QLineF(underPointer(at - view->pos()), before).length() < 1e-6);
        QVERIFY(view->geometry().contains(QRect(QPoint(0, 0), window)));

        const QPointF origin = view->transform().origin();
        wheel(at, QPoint(0, -120), Qt::NoModifier);
        QCOMPARE(view->transform().origin(), origin + QPointF(0, -60));
        wheel(at, QPoint(0, -120), Qt::ShiftModifier);
        QCOMPARE(view->transform().origin(), origin + QPointF(-60, -60));

        // The middle button drags the page along.
        const QPointF grip = centre(), dropped = centre() - QPointF(30, 20);
        const QPointF pinned = underPointer(grip);
        canvas->send(QEvent::MouseButtonPress, grip, Qt::MiddleButton);
        canvas->send(QEvent::MouseMove, dropped, Qt::MiddleButton);
        canvas->send(QEvent::MouseButtonRelease, dropped, Qt::NoButton);
        QCOMPARE(underPointer(dropped), pinned);

        // So does a drag with Space held, and it draws nothing.
        useTool(ToolKit::Pen);
        QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QVERIFY(view->panKey(&space));
        const QPointF held = underPointer(centre());
        canvas->drag({ centre().toPoint(), (centre() + QPointF(50, 40)).toPoint() });
        QKeyEvent up(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        view->panKey(&up);
        QCOMPARE(underPointer(centre() + QPointF(50, 40)), held);
        QVERIFY(canvas->objects().isEmpty());

        // A fitted page has nothing to pan.
        view->zoomToFit();
        wheel(at, QPoint(0, -120), Qt::NoModifier);
        QCOMPARE(view->transform().origin(), QPointF(0, 0));
    }

    // Notch by notch to 400 % and 800 %, out to 25 % and back: each whole
    // octave is exact, and at 100 % the page is one for one again, pixel for
    // pixel what it showed before.
    void notchesLandOnTheLadderAndComeBackOneForOne()
    {
        useTool(ToolKit::Pen);
        canvas->drag({ QPoint(100, 100), QPoint(160, 130), QPoint(220, 100) });
        const QImage before = screen();
        const QPointF at = centre() + QPointF(13, -7);
        auto notches = [&](int count, int way) {
            for (int i = 0; i < count; ++i)
                wheel(at - view->pos(), QPoint(0, 120 * way), Qt::ControlModifier);
        };
        notches(6, 1);
        QCOMPARE_EQ(view->zoom(), 4.0);
        notches(3, 1);
        QCOMPARE_EQ(view->zoom(), 8.0);
        notches(15, -1);
        QCOMPARE_EQ(view->zoom(), 0.25);
        notches(6, 1);
        QCOMPARE_EQ(view->zoom(), 1.0);
        QVERIFY(view->transform().isIdentity());
        QVERIFY(screen() == before);
    }

    void twoFingersPinchAndPanOneFingerDraws()
    {
        QPointingDevice *screenTouch = QTest::createTouchDevice();
        const QPoint c = centre().toPoint();
        const QPoint a = c - QPoint(50, 0), b = c + QPoint(50, 0);
        const QPointF middle = underPointer(c);
        QTest::touchEvent(view, screenTouch).press(0, a).press(1, b);
        QTest::touchEvent(view, screenTouch).move(0, a - QPoint(20, 0)).move(1, b + QPoint(20, 0));
        const QPoint apart(50, 0), down(0, 30);
        QTest::touchEvent(view, screenTouch).move(0, a - apart + down).move(1, b + apart + down);
        QTest::touchEvent(view, screenTouch)
            .release(0, a - apart + down)
            .release(1, b + apart + down);
        QCOMPARE(view->zoom(), 2.0); // the fingers spread twice as far
        // The point between the fingers went with them.
        QCOMPARE(underPointer(c + down - view->pos()), middle);
        QVERIFY(canvas->objects().isEmpty());

        useTool(ToolKit::Pen);
        const QPointF from = centre() - QPointF(60, 0);
        QTest::touchEvent(view, screenTouch).press(0, from.toPoint());
        QTest::touchEvent(view, screenTouch).move(0, (from + QPointF(30, 0)).toPoint());
        QTest::touchEvent(view, screenTouch).move(0, (from + QPointF(60, 0)).toPoint());
        QTest::touchEvent(view, screenTouch).release(0, (from + QPointF(60, 0)).toPoint());
        auto *stroke = canvas->lastObject<ObjStroke>();
        QVERIFY(stroke);
        QVERIFY(QLineF(stroke->path.elementAt(0), underPointer(from)).length() < 1);
    }

    void eachPageKeepsItsZoomTheLabelShowsItLiveDesktopsStayFitted()
    {
        view->zoomTo(4, centre());
        view->panBy(QPointF(-100, -50));
        const ViewTransform first = view->transform();
        QSignalSpy zoomed(view, &MainView::zoomChanged);
        view->newPage();
        QVERIFY(view->isFitted());
        QCOMPARE(zoomed.count(), 1);
        QCOMPARE(view->zoom(), 1.0);
        view->document().gotoPage(0);
        QVERIFY(view->transform() == first);
        QCOMPARE(zoomed.count(), 2);
        // "1 | 2   400%" is wider than "1 | 2".
        const int withZoom = view->labelRect().width();
        view->zoomToActual();
        QVERIFY(view->labelRect().width() < withZoom);

        // Over a live desktop the ink lies over what it was drawn on.
        view->zoomTo(2, centre());
        view->setLiveDesktop(true);
        QVERIFY(view->isFitted());
        view->zoomTo(2, centre());
        QVERIFY(view->isFitted());
    }
};

QTEST_MAIN(TestPageZoom)
#include "test_pagezoom.moc"
