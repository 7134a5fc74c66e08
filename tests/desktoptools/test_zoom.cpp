#include "desktoptools/zoomdlg.h"
#include "desktoptools/zoommemory.h"
#include "desktoptools/zoomoptionwidget.h"
#include "numberedpicture.h"
#include "testenvironment.h"
#include "widgetinput.h"
#include "widgets/closebtn.h"
#include "widgets/fullscreendialog.h"

#include <QAbstractButton>
#include <QScreen>
#include <QtTest>

namespace {

QImage positionImage()
{
    return numberedPicture(FullScreenDialog::currentScreen()->geometry().size());
}

int brightPixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGray(image.pixel(x, y)) > 200 ? 1 : 0;
    return count;
}

} // namespace

class TestZoom : public QObject
{
    Q_OBJECT

    TestEnvironment environment;
    QImage image;
    QPixmap picture;
    ZoomMemory memory;

    static ZoomOptionWidget *panel(ZoomDlg &dialog)
    {
        return dialog.findChild<ZoomOptionWidget *>();
    }
    static void drag(ZoomDlg &dialog, const QPoint &from, const QPoint &to)
    {
        WidgetInput::drag(&dialog, from, to);
    }

private Q_SLOTS:
    void initTestCase()
    {
        image = positionImage();
        picture = QPixmap::fromImage(image);
    }
    void init() { memory = ZoomMemory(); }

    void zoomStepsStopAtTheLimitsAndShowTheFactor()
    {
        QPixmap grey(picture.size());
        grey.fill(QColor(100, 100, 100));
        ZoomDlg dialog(&grey, &memory, nullptr);
        dialog.show();
        const QRect labelArea(0, dialog.height() - 80, dialog.width(), 80);
        QCOMPARE(brightPixels(dialog.grab(labelArea).toImage()), 0);
        for (int i = 0; i < 20; ++i)
            dialog.slot_ZoomIn();
        QCOMPARE(memory.factor, 10.0);
        for (int i = 0; i < 20; ++i)
            dialog.slot_ZoomOut();
        QCOMPARE(memory.factor, 1.0);
        QVERIFY(dialog.factorLabelShown());
        QVERIFY(brightPixels(dialog.grab(labelArea).toImage()) > 30);
        QTRY_VERIFY(!dialog.factorLabelShown());
        QCOMPARE(brightPixels(dialog.grab(labelArea).toImage()), 0);
    }

    // Each step keeps the label up for its own while: it is shown after the
    // steps and goes by itself once the last one's has passed.
    void factorLabelGoesByItselfAfterTheSteps()
    {
        ZoomDlg dialog(&picture, &memory, nullptr);
        for (int i = 0; i < 3; ++i)
            dialog.slot_ZoomIn();
        QVERIFY(dialog.factorLabelShown());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.factorLabelShown(), 10000);
        QCOMPARE(memory.factor, 3.5);
    }

    void frameShowsItsAreaEnlargedAboutItsCentre()
    {
        ZoomDlg dialog(&picture, &memory, nullptr);
        dialog.show();
        const QRect frame = dialog.frame();
        QCOMPARE(frame.size(), QSize(480, 360));
        QCOMPARE(frame.center(), QPoint(dialog.width() / 2 - 1, dialog.height() / 2 - 1));
        const QImage shown = dialog.grab().toImage();
        // Factor 2: dialog point p inside the frame shows picture point
        // frame corner + (p - target corner) / 2, the target corner lying
        // half a frame up and left of the frame's.
        const QPoint target = frame.topLeft() - QPoint(240, 180);
        const QPoint p = frame.topLeft() + QPoint(40, 80);
        QCOMPARE(shown.pixel(p), image.pixel(frame.topLeft() + (p - target) / 2));
        // Outside the frame the picture is slightly darkened.
        const QColor outside = shown.pixelColor(30, 30);
        QVERIFY(outside.red() < 30 && outside.red() >= 30 * 210 / 255 - 1);

        dialog.slot_Captoclip();
        QCOMPARE(dialog.result(), 4);
        const QImage output = dialog.outputPicture().toImage();
        QCOMPARE(output.size(), frame.size());
        QCOMPARE(output.pixel(p - frame.topLeft()),
                 image.pixel(frame.topLeft() + (p - target) / 2));
    }

    void frameHalfOffTheScreenShowsBlackAndGivesTransparency()
    {
        ZoomDlg dialog(&picture, &memory, nullptr);
        dialog.show();
        const QRect start = dialog.frame();
        // Move the frame left until it starts at x = -300.
        drag(dialog, start.center(), start.center() - QPoint(start.left() + 300, 0));
        QCOMPARE(dialog.frame().left(), -300);
        const int y = dialog.frame().center().y();
        QCOMPARE(dialog.grab().toImage().pixel(30, y), qRgb(0, 0, 0));
        dialog.slot_Captopage();
        QCOMPARE(dialog.result(), 2);
        const QImage output = dialog.outputPicture().toImage();
        QCOMPARE(qAlpha(output.pixel(330, 180)), 0);
        // Relative x 400 lies 640 right of the target's left edge: picture x -300 + 320.
        QCOMPARE(output.pixel(400, 180), image.pixel(20, dialog.frame().top() + 180));
    }

    void frameMovesByKeysAndResizesDownTo16()
    {
        ZoomDlg dialog(&picture, &memory, nullptr);
        dialog.show();
        const QRect start = dialog.frame();
        QCOMPARE(panel(dialog)->pos(), QPoint(start.right() + 3, start.top()));
        QTest::keyRelease(&dialog, Qt::Key_Left);
        QTest::keyRelease(&dialog, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(dialog.frame(), start.translated(-1, 10));
        QTest::keyRelease(&dialog, Qt::Key_Right, Qt::ControlModifier);
        QTest::keyRelease(&dialog, Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialog.frame(),
                 QRect(start.topLeft() + QPoint(-1, 10), start.size() + QSize(1, -10)));
        QTest::keyRelease(&dialog, Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
        QTest::keyRelease(&dialog, Qt::Key_Down, Qt::ControlModifier);
        QCOMPARE(dialog.frame(), start.translated(-1, 10).adjusted(0, 0, -9, -9));
        // A frame at the right edge puts the panel on its left.
        drag(dialog, dialog.frame().center(), dialog.frame().center() + QPoint(100, 0));
        QCOMPARE(panel(dialog)->x(), dialog.frame().left() - 2 - panel(dialog)->width());

        const QRect moved = dialog.frame();
        const QPoint grip = moved.bottomRight() - QPoint(8, 8);
        QTest::mouseMove(&dialog, grip);
        QCOMPARE(dialog.cursor().shape(), Qt::SizeFDiagCursor);
        QTest::mousePress(&dialog, Qt::LeftButton, {}, grip);
        QVERIFY(!panel(dialog)->isVisible());
        QTest::mouseMove(&dialog, grip + QPoint(20, 10));
        QCOMPARE(dialog.frame(), QRect(moved.topLeft(), moved.size() + QSize(20, 10)));
        QTest::mouseMove(&dialog, QPoint(1, 1));
        QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(1, 1));
        QCOMPARE(dialog.frame(), QRect(moved.topLeft(), QSize(16, 16)));
        QCOMPARE(dialog.cursor().shape(), Qt::ArrowCursor);
        QVERIFY(panel(dialog)->isVisible());
    }

    void fullScreenPansWithinTheEnlargedPicture()
    {
        ZoomDlg dialog(&picture, &memory, nullptr);
        dialog.show();
        panel(dialog)->button(ZoomOptionWidget::ZoomAll)->click();
        QVERIFY(memory.fullScreen);
        QCOMPARE(panel(dialog)->pos(), QPoint(dialog.width() - 2 - panel(dialog)->width(), 2));

        drag(dialog, QPoint(300, 300), QPoint(200, 260));
        QCOMPARE(dialog.panOffset(), QPointF(-100, -40));
        QCOMPARE(dialog.grab().toImage().pixel(0, 0), image.pixel(50, 20));
        drag(dialog, QPoint(100, 100), QPoint(500, 100));
        QCOMPARE(dialog.panOffset(), QPointF(0, -40));

        QWheelEvent wheel(QPointF(10, 10), dialog.mapToGlobal(QPointF(10, 10)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(&dialog, &wheel);
        QCOMPARE(dialog.panOffset(), QPointF(0, -55));
        QTest::keyRelease(&dialog, Qt::Key_Right);
        QTest::keyRelease(&dialog, Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(dialog.panOffset(), QPointF(-1, -45));
        for (int i = 0; i < 100; ++i)
            QTest::keyRelease(&dialog, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(dialog.panOffset(), QPointF(-1, -dialog.height()));

        dialog.slot_Captofile();
        QCOMPARE(dialog.result(), 3);
        const QImage output = dialog.outputPicture().toImage();
        QCOMPARE(output.size(), dialog.size());
        QCOMPARE(output.pixel(11, 21), image.pixel(6, dialog.height() / 2 + 10));
    }

    void atFactorOneTheFullScreenPictureCannotMove()
    {
        memory.factor = 1.5;
        memory.fullScreen = true;
        ZoomDlg dialog(&picture, &memory, nullptr);
        dialog.show();
        drag(dialog, QPoint(300, 300), QPoint(200, 200));
        dialog.slot_ZoomOut();
        QCOMPARE(dialog.panOffset(), QPointF(0, 0));
        drag(dialog, QPoint(300, 300), QPoint(200, 200));
        QCOMPARE(dialog.panOffset(), QPointF(0, 0));
        QCOMPARE(dialog.grab().toImage().pixel(123, 45), image.pixel(123, 45));
    }

    void cancellingEndsWithZeroAndTheModeOutlivesTheDialog()
    {
        {
            ZoomDlg dialog(&picture, &memory, nullptr);
            dialog.show();
            dialog.slot_ZoomIn();
            dialog.slot_ZoomIn();
            dialog.slot_ZoomIn();
            dialog.slot_ZoomAll();
            QTest::keyClick(&dialog, Qt::Key_Escape);
            QCOMPARE(dialog.result(), 0);
            QVERIFY(!dialog.isVisible());
        }
        ZoomDlg reopened(&picture, &memory, nullptr);
        reopened.show();
        QCOMPARE(memory.factor, 3.5);
        QVERIFY(panel(reopened)->button(ZoomOptionWidget::ZoomAll)->isChecked());
        QTest::mouseClick(&reopened, Qt::RightButton, {}, QPoint(5, 5));
        QCOMPARE(reopened.result(), 0);
        QVERIFY(!reopened.isVisible());

        ZoomDlg closed(&picture, &memory, nullptr);
        closed.show();
        panel(closed)->closeButton()->click();
        QCOMPARE(closed.result(), 0);
        QVERIFY(!closed.isVisible());
    }
};

QTEST_MAIN(TestZoom)
#include "test_zoom.moc"
