#include "app/appstate.h"
#include "desktoptools/createbtn.h"
#include "desktoptools/rulerdlg.h"
#include "desktoptools/rulerpreferencesdlg.h"
#include "desktoptools/rulerscale.h"
#include "desktoptools/rulerview.h"
#include "tabround.h"
#include "testenvironment.h"
#include "widgetinput.h"
#include "widgets/closebtn.h"

#include <QApplication>
#include <QComboBox>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

#include <memory>

namespace {
const QRgb Black = qRgb(0, 0, 0);
const QRgb Dark = qRgb(30, 30, 30);
const QRgb Light = qRgb(230, 230, 230);
const QRgb Red = qRgb(255, 0, 0);

QRgb at(const QImage &image, int x, int y)
{
    return image.pixel(x, y) | 0xff000000;
}

int countPixels(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &match)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += match(at(image, x, y)) ? 1 : 0;
    return count;
}

bool reddish(QRgb p)
{
    return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80;
}

bool whitish(QRgb p)
{
    return qRed(p) > 220 && qGreen(p) > 220 && qBlue(p) > 220;
}
} // namespace

// The ruler driven by real mouse and key events on the offscreen platform,
// where the UI scale is 1: a horizontal ruler is 640 x 100, a vertical one
// 100 x 480.
class TestRuler : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static QImage picture(RulerDlg &ruler) { return ruler.grab().toImage(); }

    // A tick of the given reach at pixel x of a horizontal ruler, from both edges.
    static bool hasTick(const QImage &image, int x, int reach, QRgb ink)
    {
        const int t = image.height();
        return at(image, x, reach - 1) == ink && at(image, x, reach) != ink
            && at(image, x, t - reach) == ink && at(image, x, t - reach - 1) != ink;
    }

    static void press(QWidget *w, const QPoint &p, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mousePress(w, b, Qt::NoModifier, p);
    }
    static void drag(QWidget *w, const QPoint &p) { QTest::mouseMove(w, p); }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void ticksSitWhereEachUnitPutsThem_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("dpi");
        QTest::addColumn<QList<int>>("longTicks");
        QTest::addColumn<QList<int>>("mediumTicks");
        QTest::addColumn<QList<int>>("bare");
        // Pixels and inches put the tick for a length p at pixel p, the
        // others at p + 1.
        QTest::newRow("pixels") << 0 << 96 << QList<int> { 50, 100, 600 } << QList<int> { 40, 60 }
                                << QList<int> { 41, 49, 630, 632 };
        QTest::newRow("inches 96") << 1 << 96 << QList<int> { 96, 192, 576 }
                                   << QList<int> { 48, 86, 106 } << QList<int> { 95, 97, 100 };
        QTest::newRow("inches 200") << 1 << 200 << QList<int> { 200, 400 } << QList<int> { 40, 220 }
                                    << QList<int> { 199, 201 };
        QTest::newRow("centimeters") << 2 << 96 << QList<int> { 39, 77, 114 }
                                     << QList<int> { 47, 54, 62, 69 } << QList<int> { 38, 40, 76 };
        QTest::newRow("picas") << 3 << 96 << QList<int> { 81, 161 } << QList<int> { 33, 49, 97 }
                               << QList<int> { 80, 82, 96 };
        QTest::newRow("points") << 4 << 96 << QList<int> { 68, 134 } << QList<int> { 34, 101 }
                                << QList<int> { 67, 69, 35 };
    }

    void ticksSitWhereEachUnitPutsThem()
    {
        QFETCH(int, unit);
        QFETCH(int, dpi);
        QFETCH(QList<int>, longTicks);
        QFETCH(QList<int>, mediumTicks);
        QFETCH(QList<int>, bare);
        RulerDlg ruler(false, true);
        ruler.slot_ChangeUnits(unit);
        ruler.slot_ChangeDpi(dpi);
        const QImage image = picture(ruler);
        QCOMPARE(image.size(), QSize(640, 100));
        for (int x : longTicks)
            QVERIFY2(hasTick(image, x, RulerScale::LongMark, Light),
                     qPrintable(QString::number(x)));
        for (int x : mediumTicks)
            QVERIFY2(hasTick(image, x, RulerScale::MediumMark, Light),
                     qPrintable(QString::number(x)));
        for (int x : bare)
            QVERIFY2(at(image, x, 1) == Dark && at(image, x, 98) == Dark,
                     qPrintable(QString::number(x)));
    }

    void scaleTableNumbersAndReadings()
    {
        QList<int> numbers;
        for (const RulerMark &mark : RulerScale::marks(RulerScale::Inches, 96, 640))
            if (mark.number > 0)
                numbers << mark.number;
        QCOMPARE(numbers, (QList<int> { 1, 2, 3, 4, 5, 6, 7 }));
        QCOMPARE(RulerScale::valueText(RulerScale::Pixels, 96, 96), QStringLiteral("96\npx"));
        QCOMPARE(RulerScale::valueText(RulerScale::Inches, 96, 96), QStringLiteral("1.00\ninch"));
        QCOMPARE(RulerScale::valueText(RulerScale::Centimeters, 96, 96),
                 QStringLiteral("2.54\ncm"));
        QCOMPARE(RulerScale::valueText(RulerScale::Picas, 96, 96), QStringLiteral("6.00\npica"));
        QCOMPARE(RulerScale::valueText(RulerScale::Points, 96, 96), QStringLiteral("72.00\npoint"));
        QVERIFY(RulerScale::marks(RulerScale::Inches, 0, 640).isEmpty());
    }

    void colourAndOrientationOfTheBody()
    {
        RulerDlg dark(false, true);
        QImage image = picture(dark);
        QCOMPARE(at(image, 0, 20), Black);
        QCOMPARE(at(image, 300, 50), Dark);

        RulerDlg light(true, true);
        light.slot_ChangeColor(1);
        image = picture(light);
        QCOMPARE(image.size(), QSize(100, 480));
        QCOMPARE(at(image, 0, 300), Dark);
        QCOMPARE(at(image, 50, 300), Light);
        // Ticks run in from the left and right edges of a vertical ruler.
        QCOMPARE(at(image, 11, 150), Dark);
        QCOMPARE(at(image, 88, 150), Dark);
        QCOMPARE(at(image, 12, 149), Light);
    }

    void preferencesByKeyboard()
    {
        RulerDlg ruler(false, true);
        RulerPreferencesDlg dialog(&ruler);
        TabRound::showActive(dialog);
        TabRound::check(dialog);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
    }

    void preferencesReachRulerAndSettingsAndStayOnCancel()
    {
        RulerDlg ruler(false, true);
        RulerPreferencesDlg dialog(&ruler);
        QCOMPARE(dialog.opacityBox()->currentText(), QStringLiteral("80"));
        dialog.unitsBox()->setCurrentIndex(2);
        dialog.dpiBox()->setValue(300);
        dialog.colorBox()->setCurrentIndex(1);
        dialog.opacityBox()->setCurrentIndex(dialog.opacityBox()->findText("50"));
        dialog.reject();
        const RulerSettings &s = AppState::instance().ruler;
        QCOMPARE(ruler.units(), 2);
        QCOMPARE(ruler.dpi(), 300);
        QVERIFY(ruler.isLight());
        QVERIFY(qAbs(ruler.windowOpacity() - 0.5) < 0.01);
        QCOMPARE(s.unit, 2);
        QCOMPARE(s.dpi, 300);
        QVERIFY(s.light);
        QCOMPARE(s.opacity, 50);

        // A new ruler starts from the settings.
        RulerDlg next(false, true);
        QCOMPARE(next.units(), 2);
        QCOMPARE(next.dpi(), 300);
        QCOMPARE(next.opacityPercent(), 50);

        // Out-of-range values never reach the settings.
        ruler.slot_ChangeOpacity(QStringLiteral("x"));
        QCOMPARE(s.opacity, 50);
        ruler.slot_ChangeOpacity(QStringLiteral("0"));
        QVERIFY(qAbs(ruler.windowOpacity() - 0.1) < 0.01);
        ruler.slot_ChangeDpi(5000);
        QCOMPARE(s.dpi, 800);
        ruler.slot_ChangeUnits(9);
        QCOMPARE(s.unit, 4);
    }

    void layoutTurnsTheRulerAndDefaultRestoresAll()
    {
        RulerDlg ruler(false, true);
        RulerPreferencesDlg dialog(&ruler);
        dialog.layoutBox()->setCurrentIndex(1);
        QVERIFY(ruler.isVertical());
        QCOMPARE(ruler.size(), QSize(100, 480));
        QVERIFY(AppState::instance().ruler.vertical);
        dialog.unitsBox()->setCurrentIndex(3);
        dialog.slot_Default();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!ruler.isVertical());
        QCOMPARE(ruler.size(), QSize(640, 100));
        QCOMPARE(ruler.units(), 0);
        QVERIFY(qAbs(ruler.windowOpacity() - 0.8) < 0.01);
        const RulerSettings &s = AppState::instance().ruler;
        QCOMPARE(s.unit, 0);
        QCOMPARE(s.dpi, 96);
        QVERIFY(!s.light && !s.vertical);
        QCOMPARE(s.opacity, 80);
    }

    void draggingTheMarkerReadsAndHoldsAtTheEnds()
    {
        RulerDlg ruler(false, true);
        ruler.slot_ChangeUnits(RulerScale::Inches);
        ruler.show();
        auto *closeBtn = ruler.findChild<CloseBtn *>();
        press(&ruler, QPoint(10, 50));
        QVERIFY(ruler.view()->isVisible());
        QVERIFY(!closeBtn->isVisible());
        QCOMPARE(ruler.marker(), 0);
        drag(&ruler, QPoint(96, 60));
        QCOMPARE(ruler.marker(), 96);
        const QPoint origin = ruler.mapToGlobal(QPoint(0, 0));
        QCOMPARE(ruler.view()->markerPoint(), origin + QPoint(96, 60));
        QCOMPARE(ruler.view()->caption(),
                 QStringLiteral("x: %1, y: %2").arg(origin.x() + 96).arg(origin.y() + 60));
        QImage image = picture(ruler);
        QCOMPARE(at(image, 96, 20), Red);
        QVERIFY(countPixels(ruler.view()->grab().toImage(), QRect(0, 205, 225, 20), whitish) > 10);
        QCOMPARE(at(image, 1, 80), Red);

        drag(&ruler, QPoint(700, 50));
        QCOMPARE(ruler.marker(), 630);
        QCOMPARE(ruler.view()->outFlag(), int(RulerView::OutHorizontal));
        QVERIFY(ruler.view()->caption().startsWith(QStringLiteral("Out[x: ")));
        const QImage view = ruler.view()->grab().toImage();
        QVERIFY(countPixels(view, QRect(0, 205, 225, 20), reddish) > 10);
        QCOMPARE(countPixels(view, QRect(0, 205, 225, 20), whitish), 0);

        drag(&ruler, QPoint(-4, 50));
        QCOMPARE(ruler.marker(), 0);
        QCOMPARE(ruler.view()->outFlag(), int(RulerView::OutHorizontal));
        drag(&ruler, QPoint(700, 50));
        QTest::mouseRelease(&ruler, Qt::LeftButton, Qt::NoModifier, QPoint(700, 50));
        QVERIFY(!ruler.view()->isVisible());
        QVERIFY(closeBtn->isVisible());

        // The marker held at the far end lies in the resize grip and still
        // drags back.
        press(&ruler, QPoint(634, 50));
        drag(&ruler, QPoint(300, 50));
        QCOMPARE(ruler.marker(), 300);
        QCOMPARE(ruler.width(), 640);
        QTest::mouseRelease(&ruler, Qt::LeftButton, Qt::NoModifier, QPoint(300, 50));
    }

    // Right after mapping, a window manager may report the ruler at (0, 0)
    // while it sits where it was put. The pointer's own positions tell the
    // truth: the reading, the inset and a drag of the body follow them.
    void staleWindowPositionDoesNotMisleadTheRuler()
    {
        RulerDlg ruler(false, true);
        ruler.show();
        const QPoint truth = ruler.pos();
        QVERIFY(truth != QPoint(0, 0));
        ruler.move(0, 0); // what the window system reported
        auto send = [&](QEvent::Type type, const QPoint &local, Qt::MouseButtons buttons) {
            const Qt::MouseButton button
                = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
            QMouseEvent event(type, local, truth + local, button, buttons, {});
            QApplication::sendEvent(&ruler, &event);
        };
        send(QEvent::MouseButtonPress, QPoint(10, 50), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(210, 50), Qt::LeftButton);
        QCOMPARE(ruler.view()->markerPoint(), truth + QPoint(210, 50));
        send(QEvent::MouseButtonRelease, QPoint(210, 50), Qt::NoButton);

        send(QEvent::MouseButtonPress, QPoint(300, 80), Qt::LeftButton);
        send(QEvent::MouseMove, QPoint(200, 280), Qt::LeftButton);
        QCOMPARE(ruler.pos(), truth + QPoint(-100, 200));
        send(QEvent::MouseButtonRelease, QPoint(200, 280), Qt::NoButton);
    }

    void verticalMarkerIsHeldOnItsOwnAxis()
    {
        RulerDlg ruler(true, true);
        ruler.show();
        press(&ruler, QPoint(50, 10));
        drag(&ruler, QPoint(40, 600));
        QCOMPARE(ruler.marker(), 470);
        QCOMPARE(ruler.view()->outFlag(), int(RulerView::OutVertical));
        QVERIFY(ruler.view()->caption().contains(QStringLiteral(", Out[y: ")));
        QTest::mouseRelease(&ruler, Qt::LeftButton, Qt::NoModifier, QPoint(40, 600));
    }

    void resizingStopsAtSixtyAndMovingFollows()
    {
        RulerDlg ruler(false, true);
        ruler.show();
        press(&ruler, QPoint(630, 60));
        drag(&ruler, QPoint(730, 60));
        QCOMPARE(ruler.size(), QSize(740, 100));
        drag(&ruler, QPoint(-400, 60));
        QCOMPARE(ruler.size(), QSize(60, 100));
        QTest::mouseRelease(&ruler, Qt::LeftButton, Qt::NoModifier, QPoint(-400, 60));

        const QPoint start = ruler.pos();
        press(&ruler, QPoint(30, 80));
        QTest::mouseMove(&ruler, QPoint(50, 90));
        QCOMPARE(ruler.pos(), start + QPoint(20, 10));
        QTest::mouseRelease(&ruler, Qt::LeftButton);
    }

    void shrinkingKeepsTheMarkerOnTheRuler()
    {
        RulerDlg ruler(false, true);
        ruler.show();
        WidgetInput::drag(&ruler, QPoint(10, 50), QPoint(500, 50));
        press(&ruler, QPoint(630, 20));
        drag(&ruler, QPoint(230, 20));
        QCOMPARE(ruler.width(), 240);
        QCOMPARE(ruler.marker(), 230);
        QTest::mouseRelease(&ruler, Qt::LeftButton, Qt::NoModifier, QPoint(230, 20));
    }

    void arrowKeysMoveTheRuler()
    {
        RulerDlg ruler(false, true);
        ruler.show();
        const QPoint start = ruler.pos();
        QTest::keyClick(&ruler, Qt::Key_Right);
        QTest::keyClick(&ruler, Qt::Key_Down);
        QCOMPARE(ruler.pos(), start + QPoint(1, 1));
        QTest::keyClick(&ruler, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(&ruler, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(ruler.pos(), start + QPoint(-9, -9));

        // Ctrl changes the length, not the place, down to the shortest ruler.
        const int length = ruler.length();
        QTest::keyClick(&ruler, Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(&ruler, Qt::Key_Down, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ruler.length(), length + 11);
        QCOMPARE(ruler.pos(), start + QPoint(-9, -9));
        for (int i = 0; i < 200; ++i)
            QTest::keyClick(&ruler, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(ruler.length(), int(RulerDlg::MinLength));
    }

    void desktopRulerAsksTheMainWindowToCloseOrAdd()
    {
        RulerDlg ruler(true, true);
        QSignalSpy closed(&ruler, &RulerDlg::signal_DeleteRuler);
        QSignalSpy added(&ruler, &RulerDlg::signal_CreateRuler);
        ruler.show();
        ruler.findChild<CreateBtn *>()->click();
        QCOMPARE(added.count(), 1);
        QCOMPARE(added.at(0).at(0).toBool(), false);
        QTest::keyClick(&ruler, Qt::Key_Escape);
        QTest::mouseClick(&ruler, Qt::RightButton, Qt::NoModifier, QPoint(50, 200));
        ruler.findChild<CloseBtn *>()->click();
        ruler.close();
        QCOMPARE(closed.count(), 4);
        QCOMPARE(closed.at(0).at(0).value<QWidget *>(), &ruler);
        QVERIFY(ruler.isVisible());
    }

    void drawingModeRulerClosesItself()
    {
        QWidget mainWindow;
        mainWindow.resize(800, 600);
        mainWindow.show();
        RulerDlg ruler(false, false, &mainWindow);
        QVERIFY(!ruler.findChild<CreateBtn *>());
        QCOMPARE(ruler.view()->parentWidget(), &mainWindow);
        QSignalSpy closed(&ruler, &RulerDlg::signal_DeleteRuler);
        for (int way = 0; way < 2; ++way) {
            QSignalSpy finished(&ruler, &QDialog::finished);
            ruler.open();
            if (way == 0)
                QTest::keyClick(&ruler, Qt::Key_Escape);
            else
                QTest::mouseClick(&ruler, Qt::RightButton, Qt::NoModifier, QPoint(300, 50));
            QCOMPARE(finished.count(), 1);
            QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
            QVERIFY(!ruler.isVisible());
        }
        QCOMPARE(closed.count(), 0);
    }

    void viewJumpsAwayFromThePointer()
    {
        RulerView view(nullptr);
        view.show();
        const QPoint topLeft = view.pos();
        view.place(QPoint(400, 300), QPoint(400, 300), RulerView::Inside);
        QCOMPARE(view.pos(), topLeft);
        view.place(QPoint(400, 300), topLeft + QPoint(5, 5), RulerView::Inside);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(view.pos(), screen.bottomRight() - QPoint(10 + 224, 10 + 224));
        view.place(QPoint(400, 300), screen.bottomRight() - QPoint(15, 15), RulerView::Inside);
        QCOMPARE(view.pos(), topLeft);
    }
};

QTEST_MAIN(TestRuler)
#include "test_ruler.moc"
