#include "canvas/tool.h"
#include "canvasfixture.h"
#include "document/imagestatic.h"

// The tool base: mouse and stylus input become one gesture of begin, move
// and end; a second button, a tool switch or the loss of the gesture's
// release cancel it, and a cancelled gesture leaves the page as it was.
class TestTool : public QObject
{
    Q_OBJECT

    // Writes down what the base asks of a tool.
    class RecordingTool : public Tool
    {
    public:
        QStringList log;
        QList<float> pressures;

    protected:
        void begin(ToolHost *, const Input &input) override { record("begin", input); }
        void move(ToolHost *, const Input &input) override { record("move", input); }
        void end(ToolHost *, const Input &input) override { record("end", input); }
        void hover(ToolHost *, const Input &input) override { record("hover", input); }
        void cancel(ToolHost *) override { log.append(QStringLiteral("cancel")); }

    private:
        void record(const char *what, const Input &input)
        {
            log.append(QStringLiteral("%1 %2,%3")
                           .arg(QLatin1String(what))
                           .arg(input.point.x())
                           .arg(input.point.y()));
            if (qstrcmp(what, "hover") != 0)
                pressures.append(input.pressure);
        }
    };

    std::unique_ptr<CanvasFixture> canvas;

    static QMouseEvent mouse(QEvent::Type type, const QPointF &pt, Qt::MouseButton button,
                             Qt::MouseButtons buttons)
    {
        return QMouseEvent(type, pt, pt, button, buttons, Qt::NoModifier);
    }

    // A press of `button` while `held` (and it) are down, sent to the canvas.
    void pressAlso(const QPoint &pt, Qt::MouseButton button, Qt::MouseButtons held)
    {
        QMouseEvent event(QEvent::MouseButtonPress, pt, canvas->view->mapToGlobal(QPointF(pt)),
                          button, held | button, Qt::NoModifier);
        QApplication::sendEvent(canvas->view, &event);
    }
    void releaseAlso(const QPoint &pt, Qt::MouseButton button, Qt::MouseButtons stillHeld)
    {
        QMouseEvent event(QEvent::MouseButtonRelease, pt, canvas->view->mapToGlobal(QPointF(pt)),
                          button, stillHeld, Qt::NoModifier);
        QApplication::sendEvent(canvas->view, &event);
    }

private Q_SLOTS:
    void init()
    {
        canvas = std::make_unique<CanvasFixture>();
        QVERIFY(canvas->exposed);
    }

    void cleanup() { canvas.reset(); }

    void mouseAndStylusMakeTheSameGesture()
    {
        using D = QPointingDevice;
        const D stylus(QStringLiteral("stylus"), 9101, D::DeviceType::Stylus, D::PointerType::Pen,
                       QInputDevice::Capability::Position | QInputDevice::Capability::Pressure, 1,
                       2);
        auto tablet = [&](QEvent::Type type, const QPointF &pt, qreal pressure) {
            const bool move = type == QEvent::TabletMove;
            return QTabletEvent(type, &stylus, pt, pt, pressure, 0, 0, 0, 0, 0, Qt::NoModifier,
                                move ? Qt::NoButton : Qt::LeftButton,
                                type == QEvent::TabletRelease ? Qt::NoButton : Qt::LeftButton);
        };
        const QStringList expected { "hover 5,5",  "begin 10,10", "move 20,10",
                                     "move 30,10", "end 40,10",   "hover 50,10" };
        ToolHost *host = canvas->view;

        RecordingTool byMouse;
        QMouseEvent events[] = {
            mouse(QEvent::MouseMove, { 5, 5 }, Qt::NoButton, Qt::NoButton),
            mouse(QEvent::MouseButtonPress, { 10, 10 }, Qt::LeftButton, Qt::LeftButton),
            mouse(QEvent::MouseMove, { 20, 10 }, Qt::NoButton, Qt::LeftButton),
            mouse(QEvent::MouseMove, { 30, 10 }, Qt::NoButton, Qt::LeftButton),
            mouse(QEvent::MouseButtonRelease, { 40, 10 }, Qt::LeftButton, Qt::NoButton),
            mouse(QEvent::MouseMove, { 50, 10 }, Qt::NoButton, Qt::NoButton),
        };
        byMouse.mouseMove(host, events[0].position(), &events[0]);
        byMouse.mousePress(host, events[1].position(), &events[1]);
        byMouse.mouseMove(host, events[2].position(), &events[2]);
        byMouse.mouseMove(host, events[3].position(), &events[3]);
        byMouse.mouseRelease(host, events[4].position(), &events[4]);
        byMouse.mouseMove(host, events[5].position(), &events[5]);
        QCOMPARE(byMouse.log, expected);
        QCOMPARE(byMouse.pressures, QList<float>({ -1, -1, -1, -1 }));

        // A stylus in the air sends moves too; they hover.
        RecordingTool byStylus;
        QTabletEvent strokes[] = {
            tablet(QEvent::TabletMove, { 5, 5 }, 0),
            tablet(QEvent::TabletPress, { 10, 10 }, 0.25),
            tablet(QEvent::TabletMove, { 20, 10 }, 0.5),
            tablet(QEvent::TabletMove, { 30, 10 }, 0.75),
            tablet(QEvent::TabletRelease, { 40, 10 }, 0),
            tablet(QEvent::TabletMove, { 50, 10 }, 0),
        };
        byStylus.mouseMove(host, strokes[0].position(), &strokes[0]);
        byStylus.mousePress(host, strokes[1].position(), &strokes[1]);
        byStylus.mouseMove(host, strokes[2].position(), &strokes[2]);
        byStylus.mouseMove(host, strokes[3].position(), &strokes[3]);
        byStylus.mouseRelease(host, strokes[4].position(), &strokes[4]);
        byStylus.mouseMove(host, strokes[5].position(), &strokes[5]);
        QCOMPARE(byStylus.log, expected);
        QCOMPARE(byStylus.pressures, QList<float>({ 0.25f, 0.5f, 0.75f, 0 }));
        QCOMPARE(byStylus.gesture().button, byMouse.gesture().button);
        QCOMPARE(byStylus.gesture().pressPoint, QPointF(10, 10));
    }

    void pressesDuringAGesture()
    {
        ToolHost *host = canvas->view;
        RecordingTool tool;
        auto send = [&](QEvent::Type type, const QPointF &pt, Qt::MouseButton button,
                        Qt::MouseButtons buttons) {
            QMouseEvent event = mouse(type, pt, button, buttons);
            if (type == QEvent::MouseButtonPress)
                tool.mousePress(host, pt, &event);
            else if (type == QEvent::MouseMove)
                tool.mouseMove(host, pt, &event);
            else
                tool.mouseRelease(host, pt, &event);
        };
        const Qt::MouseButtons both = Qt::LeftButton | Qt::RightButton;

        // A second button cancels, once; nothing counts until a new press.
        send(QEvent::MouseButtonPress, { 10, 10 }, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseMove, { 20, 10 }, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonPress, { 20, 10 }, Qt::RightButton, both);
        send(QEvent::MouseMove, { 30, 10 }, Qt::NoButton, both);
        send(QEvent::MouseButtonRelease, { 30, 10 }, Qt::RightButton, Qt::LeftButton);
        send(QEvent::MouseMove, { 35, 10 }, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, { 35, 10 }, Qt::LeftButton, Qt::NoButton);
        QCOMPARE(
            tool.log,
            QStringList({ "begin 10,10", "move 20,10", "cancel", "hover 30,10", "hover 35,10" }));
        QVERIFY(!tool.gesture().active);

        // A press of the gesture's own button means its release was lost:
        // the stale gesture goes and the press begins afresh. A right press
        // after a lost release only cancels, since it begins nothing.
        tool.log.clear();
        send(QEvent::MouseButtonPress, { 10, 10 }, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonPress, { 60, 60 }, Qt::LeftButton, Qt::LeftButton);
        send(QEvent::MouseButtonPress, { 70, 70 }, Qt::RightButton, Qt::RightButton);
        QCOMPARE(tool.log, QStringList({ "begin 10,10", "cancel", "begin 60,60", "cancel" }));

        // The kit's cancel reaches the gesture's canvas, once; without the
        // canvas there is nothing to put back.
        tool.log.clear();
        send(QEvent::MouseButtonPress, { 10, 10 }, Qt::LeftButton, Qt::LeftButton);
        tool.cancelGesture();
        tool.cancelGesture();
        send(QEvent::MouseButtonRelease, { 10, 10 }, Qt::LeftButton, Qt::NoButton);
        send(QEvent::MouseButtonPress, { 10, 10 }, Qt::LeftButton, Qt::LeftButton);
        canvas.reset();
        tool.cancelGesture();
        QCOMPARE(tool.log, QStringList({ "begin 10,10", "cancel", "begin 10,10" }));
        QVERIFY(!tool.gesture().active);
    }

    void secondButtonLeavesThePageAsBefore_data()
    {
        QTest::addColumn<int>("toolId");
        QTest::newRow("pen") << int(ToolKit::Pen);
        QTest::newRow("highlighter") << int(ToolKit::Highlighter);
        QTest::newRow("eraser") << int(ToolKit::Eraser);
        QTest::newRow("line") << int(ToolKit::Line);
        QTest::newRow("shape") << int(ToolKit::Shape);
        QTest::newRow("select, a picture dragged") << int(ToolKit::Select);
        QTest::newRow("select, a lasso drawn") << int(ToolKit::Select);
    }

    void secondButtonLeavesThePageAsBefore()
    {
        QFETCH(int, toolId);
        canvas->addStroke(QPointF(100, 300), QPointF(500, 300));
        ImageStatic *image = canvas->addImage(QPointF(600, 250));
        ToolKit::instance().setCurrentTool(toolId);
        const bool lasso = QByteArray(QTest::currentDataTag()).contains("lasso");
        if (toolId == ToolKit::Select && !lasso)
            canvas->view->addToSelection(image);
        const QPoint start
            = toolId == ToolKit::Select && !lasso ? QPoint(650, 290) : QPoint(150, 250);
        const QImage layer = canvas->view->layer()->copy();
        const QImage shown = canvas->view->grab().toImage();
        const int commands = canvas->commands();

        canvas->press(start);
        for (int i = 1; i <= 4; ++i)
            canvas->send(QEvent::MouseMove, start + QPoint(40 * i, 15 * i), Qt::LeftButton);
        pressAlso(start + QPoint(160, 60), Qt::RightButton, Qt::LeftButton);
        releaseAlso(start + QPoint(160, 60), Qt::RightButton, Qt::LeftButton);
        canvas->send(QEvent::MouseMove, start + QPoint(200, 80), Qt::LeftButton);
        canvas->release(start + QPoint(200, 80));

        QCOMPARE(canvas->commands(), commands);
        QCOMPARE(image->rect.topLeft(), QPointF(600, 250));
        QCOMPARE(*canvas->view->layer(), layer);
        QCOMPARE(canvas->view->grab().toImage(), shown);
    }

    // A tool switch in the middle of a stroke or an erasure takes back what
    // it painted into the layer, which the page never held.
    void toolSwitchMidGestureLeavesTheLayerAsBefore()
    {
        canvas->addStroke(QPointF(100, 300), QPointF(500, 300));
        const QImage layer = canvas->view->layer()->copy();
        for (int id : { ToolKit::Pen, ToolKit::Eraser }) {
            ToolKit::instance().setCurrentTool(id);
            canvas->press(QPoint(150, 280));
            for (int x = 200; x <= 400; x += 50)
                canvas->send(QEvent::MouseMove, QPointF(x, 300), Qt::LeftButton);
            QVERIFY(*canvas->view->layer() != layer);
            ToolKit::instance().setCurrentTool(ToolKit::Line);
            canvas->release(QPoint(400, 300));
            QCOMPARE(*canvas->view->layer(), layer);
        }
        QCOMPARE(canvas->commands(), 1);
    }
};

QTEST_MAIN(TestTool)
#include "test_tool.moc"
