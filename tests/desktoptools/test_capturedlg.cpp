#include "app/settledannouncement.h"
#include "desktoptools/capturearea.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/captureoptionwidget.h"
#include "numberedpicture.h"
#include "testenvironment.h"
#include "widgetinput.h"
#include "widgets/closebtn.h"
#include "widgets/popupwidgetbtn.h"

#include <QImage>
#include <QToolButton>
#include <QtTest>

#include <memory>

// The capture dialog on the 800 x 800 offscreen screen, over a still picture
// whose every pixel tells its own position, driven by real mouse and key
// events.
using WidgetInput::drag;
using WidgetInput::hover;

class TestCaptureDlg : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QPixmap still;

    static QRgb stillPixel(int x, int y) { return numberedPixel(x, y); }

    std::unique_ptr<CaptureDlg> open(int iMode, const QPainterPath &previous = QPainterPath())
    {
        auto dialog = std::make_unique<CaptureDlg>(iMode, &still, nullptr, previous);
        dialog->show();
        return dialog;
    }

    static void click(QWidget *widget, const QPoint &pos)
    {
        QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pos);
    }

    static QToolButton *output(CaptureDlg *dialog, int iIndex)
    {
        // The close button, then the three outputs.
        if (iIndex == 0)
            return dialog->optionWidget()->findChild<CloseBtn *>();
        return dialog->optionWidget()->findChildren<PopupWidgetBtn *>().at(iIndex - 1);
    }

    static QPoint panelPos(CaptureDlg *dialog) { return dialog->optionWidget()->pos(); }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        still = QPixmap::fromImage(numberedPicture(QSize(800, 800)));
    }

    void rectangleStartsInTheMiddle()
    {
        auto dialog = open(CaptureDlg::Rectangle);
        QCOMPARE(dialog->size(), QSize(800, 800));
        QCOMPARE(dialog->markedRect(), QRect(QPoint(250, 300), QPoint(549, 499)));
        QCOMPARE(dialog->coordinatesBoxPos(), QPoint(250, 500));
        QVERIFY(dialog->optionWidget()->isVisible());
        QCOMPARE(panelPos(dialog.get()), QPoint(553, 310));

        // The area outside the rectangle is darkened, the inside is not.
        const QImage shot = dialog->grab().toImage();
        QCOMPARE(shot.pixel(400, 400), stillPixel(400, 400));
        QVERIFY(qRed(shot.pixel(100, 100)) < qRed(stillPixel(100, 100)));
    }

    void cornerDragKeepsFifteenPixels()
    {
        auto dialog = open(CaptureDlg::Rectangle);
        // Pressing near a corner grabs the corner itself.
        QTest::mousePress(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(255, 305));
        QVERIFY(!dialog->optionWidget()->isVisible());
        QTest::mouseMove(dialog.get(), QPoint(700, 750));
        QCOMPARE(dialog->markedRect(), QRect(QPoint(534, 484), QPoint(549, 499)));
        QTest::mouseMove(dialog.get(), QPoint(300, 360));
        QCOMPARE(dialog->markedRect(), QRect(QPoint(300, 360), QPoint(549, 499)));
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 360));
        QVERIFY(dialog->optionWidget()->isVisible());

        // The bottom-right corner past the top-left one stops short as well.
        drag(dialog.get(), QPoint(549, 499), QPoint(10, 10));
        QCOMPARE(dialog->markedRect(), QRect(QPoint(300, 360), QPoint(315, 375)));
        // A corner dragged off the screen stops at its edge.
        drag(dialog.get(), QPoint(315, 375), QPoint(900, 900));
        QCOMPARE(dialog->markedRect().bottomRight(), QPoint(799, 799));
    }

    void bodyDragIsClampedAndMovesTheBox()
    {
        auto dialog = open(CaptureDlg::Rectangle);
        drag(dialog.get(), QPoint(400, 400), QPoint(-500, -400));
        QCOMPARE(dialog->markedRect(), QRect(0, 0, 300, 200));
        QCOMPARE(dialog->coordinatesBoxPos(), QPoint(0, 200));

        drag(dialog.get(), QPoint(100, 100), QPoint(2000, 2000));
        QCOMPARE(dialog->markedRect(), QRect(500, 600, 300, 200));
        // At the bottom the box goes above the rectangle; the panel, with no
        // room on the right, to its left.
        QCOMPARE(dialog->coordinatesBoxPos(), QPoint(500, 580));
        const QWidget *panel = dialog->optionWidget();
        QCOMPARE(panelPos(dialog.get()), QPoint(500 - 2 - panel->width(), 610));

        // Narrow at the right edge: the box moves left to stay on screen.
        drag(dialog.get(), QPoint(500, 600), QPoint(790, 600));
        QCOMPARE(dialog->markedRect().left(), 784);
        QCOMPARE(dialog->coordinatesBoxPos().x(), 800 - 220);

        // As tall as the screen: the box goes inside the rectangle's bottom,
        // the panel stays wholly on the screen.
        drag(dialog.get(), QPoint(784, 600), QPoint(-5, -5));
        QCOMPARE(dialog->markedRect(), QRect(QPoint(0, 0), QPoint(799, 799)));
        QCOMPARE(dialog->coordinatesBoxPos(), QPoint(0, 779));
        QCOMPARE(panelPos(dialog.get()), QPoint(800 - panel->width(), 10));

        // A rectangle at the very bottom keeps the panel on the screen.
        drag(dialog.get(), QPoint(1, 1), QPoint(700, 790));
        QCOMPARE(dialog->markedRect().top(), 784);
        QCOMPARE(panel->geometry().bottom(), 799);
    }

    void loupeShowsTheCornerAndGetsOutOfTheWay()
    {
        auto dialog = open(CaptureDlg::Rectangle);
        QCOMPARE(dialog->loupeCentre(), QPoint(122, 122));
        QTest::mousePress(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(549, 499));
        QTest::mouseMove(dialog.get(), QPoint(600, 520));
        QCOMPARE(dialog->loupeCentre(), QPoint(122, 122));
        // Nine screen pixels per still pixel: 14 loupe cells right of the
        // loupe's left edge shows the pixel two right of the corner.
        QImage shot = dialog->grab().toImage();
        QCOMPARE(shot.pixel(122 - 112 + 14 * 9 + 4, 122 - 112 + 15 * 9 + 4), stillPixel(602, 523));

        QTest::mouseRelease(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(600, 520));

        // A corner inside the loupe sends it to the opposite corner, and back.
        drag(dialog.get(), QPoint(250, 300), QPoint(200, 150));
        QCOMPARE(dialog->loupeCentre(), QPoint(677, 677));
        drag(dialog.get(), QPoint(600, 520), QPoint(620, 630));
        QCOMPARE(dialog->loupeCentre(), QPoint(122, 122));
        // No loupe once the corner is let go: only the darkened screen.
        shot = dialog->grab().toImage();
        const int red = qRed(shot.pixel(140, 149));
        QVERIFY(qAbs(red - qRed(stillPixel(140, 149)) * 215 / 255) <= 1);
    }

    void arrowKeysMoveAndCtrlResizes()
    {
        auto dialog = open(CaptureDlg::Rectangle);
        QTest::keyClick(dialog.get(), Qt::Key_Left);
        QCOMPARE(dialog->markedRect(), QRect(249, 300, 300, 200));
        QTest::keyClick(dialog.get(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(dialog->markedRect(), QRect(249, 310, 300, 200));
        QTest::keyClick(dialog.get(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(dialog->markedRect(), QRect(249, 310, 301, 200));
        QTest::keyClick(dialog.get(), Qt::Key_Up, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialog->markedRect(), QRect(249, 310, 301, 190));
        QCOMPARE(panelPos(dialog.get()).x(), dialog->markedRect().right() + 4);

        // Against the edge neither moving nor growing leaves the screen.
        drag(dialog.get(), QPoint(400, 400), QPoint(-5, -5));
        QTest::keyClick(dialog.get(), Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyClick(dialog.get(), Qt::Key_Up);
        QCOMPARE(dialog->markedRect(), QRect(0, 0, 301, 190));
        const QRect screen(QPoint(0, 0), dialog->size());
        for (int i = 0; i < 200; ++i)
            QTest::keyClick(dialog.get(), Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(dialog->markedRect().right(), screen.right());

        // Return takes the area as a new page.
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QCOMPARE(dialog->result(), 2);
        QCOMPARE(dialog->areaPath().boundingRect().toRect(), dialog->markedRect());
    }

    void outputsEndWithTheirCodes_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("code");
        QTest::newRow("close") << 0 << 0;
        QTest::newRow("page") << 1 << 2;
        QTest::newRow("file") << 2 << 3;
        QTest::newRow("clipboard") << 3 << 4;
    }

    void outputsEndWithTheirCodes()
    {
        QFETCH(int, button);
        QFETCH(int, code);
        auto dialog = open(CaptureDlg::Rectangle);
        dialog->setResult(-1);
        QTest::mouseClick(output(dialog.get(), button), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), code);
        if (code != 0) {
            QCOMPARE(dialog->areaPath().boundingRect(), QRectF(250, 300, 300, 200));
            const QPixmap cut = CaptureArea::cut(dialog->areaPath(), still);
            QCOMPARE(cut.size(), QSize(300, 200));
            QCOMPARE(cut.toImage().pixel(0, 0), stillPixel(250, 300));
            QCOMPARE(cut.toImage().pixel(299, 199), stillPixel(549, 499));
        }
    }

    void escapeAndRightReleaseCancel()
    {
        auto dialog = open(CaptureDlg::Rectangle);
        dialog->setResult(-1);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), 0);

        for (int mode : { int(CaptureDlg::Rectangle), int(CaptureDlg::Freeform) }) {
            dialog = open(mode);
            dialog->setResult(-1);
            QTest::mouseClick(dialog.get(), Qt::RightButton, Qt::NoModifier, QPoint(400, 300));
            QVERIFY(!dialog->isVisible());
            QCOMPARE(dialog->result(), 0);
        }
    }

    static void keys(QWidget *widget, Qt::Key key, int iTimes,
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        for (int i = 0; i < iTimes; ++i)
            QTest::keyClick(widget, key, modifiers);
    }

    // A triangle set by keys alone, told to a reader as it grows, taken with
    // Return: the capture holds what the corners enclose.
    void freeformPolygonByKeys()
    {
        SettledAnnouncement::setListening([] { return true; });
        auto dialog = open(CaptureDlg::Freeform);
        hover(dialog.get(), QPoint(100, 100));
        QTRY_COMPARE(dialog->accessibleName(), QStringLiteral("x 100, y 100"));
        QTest::keyClick(dialog.get(), Qt::Key_Space);
        keys(dialog.get(), Qt::Key_Right, 20, Qt::ShiftModifier);
        QCOMPARE(dialog->cursorPoint(), QPointF(300, 100));
        QTRY_COMPARE(dialog->accessibleName(), QStringLiteral("x 100, y 100, width 200, height 0"));
        QTest::keyClick(dialog.get(), Qt::Key_Space);
        // Two corners enclose nothing: Return waits for a third.
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QVERIFY(!dialog->isClosed());
        keys(dialog.get(), Qt::Key_Down, 20, Qt::ShiftModifier);
        keys(dialog.get(), Qt::Key_Up, 3);
        QTest::keyClick(dialog.get(), Qt::Key_Space);
        QTRY_COMPARE(dialog->accessibleName(),
                     QStringLiteral("x 100, y 100, width 200, height 197"));

        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QVERIFY(dialog->isClosed());
        QCOMPARE(dialog->markedRect(), QRect(100, 100, 200, 197));
        QVERIFY(dialog->optionWidget()->isVisible());
        // Once closed, the keys no longer move the cursor.
        QTest::keyClick(dialog.get(), Qt::Key_Left);
        QCOMPARE(dialog->cursorPoint(), QPointF(100, 100));
        QTest::keyClick(dialog.get(), Qt::Key_Return);
        QCOMPARE(dialog->result(), 2);
        const QImage cut = CaptureArea::cut(dialog->areaPath(), still).toImage();
        QCOMPARE(cut.size(), QSize(200, 197));
        QCOMPARE(cut.pixel(150, 50), stillPixel(250, 150));
        QCOMPARE(qAlpha(cut.pixel(50, 150)), 0);
        SettledAnnouncement::setListening(nullptr);
    }

    void freeformPolygonClosesOnItsStart()
    {
        auto dialog = open(CaptureDlg::Freeform);
        QVERIFY(!dialog->optionWidget()->isVisible());
        click(dialog.get(), QPoint(100, 100));
        QVERIFY(!dialog->isClosed());
        QCOMPARE(dialog->areaPath().elementCount(), 1);

        // Without a button the next side follows the pointer as a rubber band.
        hover(dialog.get(), QPoint(400, 100));
        QCOMPARE(dialog->areaPath().elementCount(), 1);
        const QImage shot = dialog->grab().toImage();
        QVERIFY(shot.pixel(300, 100) != stillPixel(300, 100));
        QCOMPARE(shot.pixel(300, 110), stillPixel(300, 110));

        click(dialog.get(), QPoint(400, 100));
        click(dialog.get(), QPoint(400, 400));
        QVERIFY(!dialog->isClosed());
        click(dialog.get(), QPoint(101, 101));
        QVERIFY(dialog->isClosed());
        const QPainterPath &area = dialog->areaPath();
        QCOMPARE(QPointF(area.elementAt(area.elementCount() - 1)), QPointF(100, 100));
        QCOMPARE(dialog->markedRect(), QRect(100, 100, 300, 300));
        QVERIFY(dialog->optionWidget()->isVisible());

        // Once closed, further input changes nothing.
        drag(dialog.get(), QPoint(500, 500), QPoint(600, 550));
        QCOMPARE(dialog->areaPath(), area);

        QTest::mouseClick(output(dialog.get(), 1), Qt::LeftButton);
        QCOMPARE(dialog->result(), 2);
        const QImage cut = CaptureArea::cut(dialog->areaPath(), still).toImage();
        QCOMPARE(cut.size(), QSize(300, 300));
        QCOMPARE(cut.pixel(250, 50), stillPixel(350, 150));
        // Below the triangle's diagonal nothing of the screen is kept.
        QCOMPARE(qAlpha(cut.pixel(50, 250)), 0);
        QCOMPARE(qAlpha(cut.pixel(1, 298)), 0);
    }

    void freehandDragAndDoubleClick()
    {
        auto dialog = open(CaptureDlg::Freeform);
        QTest::mousePress(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 200));
        QTest::mouseMove(dialog.get(), QPoint(300, 220));
        QTest::mouseMove(dialog.get(), QPoint(320, 320));
        QTest::mouseRelease(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(320, 320));
        QCOMPARE(dialog->areaPath().elementCount(), 3);
        QVERIFY(!dialog->isClosed());
        QTest::mouseDClick(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(210, 330));
        QVERIFY(dialog->isClosed());
        QCOMPARE(dialog->markedRect(), QRect(200, 200, 120, 130));
        QVERIFY(dialog->optionWidget()->isVisible());
        QVERIFY(!CaptureArea::cut(dialog->areaPath(), still).isNull());

        // A double-click without moving marks nothing to capture.
        dialog = open(CaptureDlg::Freeform);
        click(dialog.get(), QPoint(300, 300));
        QTest::mouseDClick(dialog.get(), Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
        QVERIFY(dialog->isClosed());
        QVERIFY(CaptureArea::cut(dialog->areaPath(), still).isNull());
    }

    void previousAreaIsFixed()
    {
        QPainterPath previous;
        previous.addEllipse(QRectF(100.4, 150.6, 200, 100));
        auto dialog = open(CaptureDlg::PreviousArea, previous);
        QCOMPARE(dialog->markedRect(), QRect(100, 151, 200, 100));
        QVERIFY(dialog->optionWidget()->isVisible());
        QCOMPARE(panelPos(dialog.get()), QPoint(303, 161));

        const QImage shot = dialog->grab().toImage();
        QCOMPARE(shot.pixel(200, 200), stillPixel(200, 200));
        QVERIFY(qGreen(shot.pixel(105, 155)) < qGreen(stillPixel(105, 155)));

        drag(dialog.get(), QPoint(200, 200), QPoint(400, 400));
        QTest::keyClick(dialog.get(), Qt::Key_Left);
        QCOMPARE(dialog->areaPath(), previous);
        QTest::mouseClick(output(dialog.get(), 2), Qt::LeftButton);
        QCOMPARE(dialog->result(), 3);
        QCOMPARE(dialog->areaPath(), previous);
        QCOMPARE(CaptureArea::pixelBounds(previous), QRect(100, 151, 200, 100));
    }

    void cutRoundsTheBoundsAndKeepsOnlyTheInside()
    {
        QVERIFY(CaptureArea::cut(QPainterPath(), still).isNull());
        QPainterPath thin;
        thin.addRect(QRectF(10.2, 10, 0.4, 50));
        QVERIFY(CaptureArea::cut(thin, still).isNull());

        QPainterPath ring;
        ring.addEllipse(QRectF(40, 40, 100, 100));
        ring.addEllipse(QRectF(70, 70, 40, 40));
        const QImage cut = CaptureArea::cut(ring, still).toImage();
        QCOMPARE(cut.size(), QSize(100, 100));
        QCOMPARE(cut.pixel(50, 10), stillPixel(90, 50));
        QCOMPARE(qAlpha(cut.pixel(50, 50)), 0);
        QCOMPARE(qAlpha(cut.pixel(2, 2)), 0);
    }
};

QTEST_MAIN(TestCaptureDlg)
#include "test_capturedlg.moc"
