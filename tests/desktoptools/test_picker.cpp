#include "app/appstate.h"
#include "desktoptools/pickerdlg.h"
#include "desktoptools/pickeroptionwidget.h"
#include "desktoptools/pickerview.h"
#include "numberedpicture.h"
#include "testenvironment.h"
#include "widgetinput.h"
#include "widgets/fullscreendialog.h"
#include "widgets/lookcolours.h"

#include <QClipboard>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QtTest>

namespace {

// A grey patch sits at (100, 100)-(109, 109).
QPixmap positionPicture()
{
    QImage image = numberedPicture(FullScreenDialog::currentScreen()->geometry().size());
    QPainter(&image).fillRect(100, 100, 10, 10, QColor(77, 77, 77));
    return QPixmap::fromImage(image);
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestPicker : public QObject
{
    Q_OBJECT

    TestEnvironment environment;
    QPixmap picture;

    QColor at(int x, int y) const { return picture.toImage().pixelColor(x, y); }

private Q_SLOTS:
    void initTestCase() { picture = positionPicture(); }
    void init() { QGuiApplication::clipboard()->clear(); }

    void pointFollowsPointerAndArrowKeys()
    {
        PickerDlg dialog(&picture, false, nullptr);
        dialog.show();
        QCOMPARE(dialog.point(), QPoint(dialog.width() / 2, dialog.height() / 2));
        QTest::mouseMove(&dialog, QPoint(30, 40));
        QCOMPARE(dialog.point(), QPoint(30, 40));
        QCOMPARE(dialog.pickedColor(), at(30, 40));

        QTest::keyRelease(&dialog, Qt::Key_Right);
        QTest::keyRelease(&dialog, Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(dialog.point(), QPoint(31, 50));
        QTest::keyRelease(&dialog, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyRelease(&dialog, Qt::Key_Up);
        QCOMPARE(dialog.point(), QPoint(21, 49));
        QCOMPARE(dialog.pickedColor(), at(21, 49));

        // The point stays on the picture.
        WidgetInput::hover(&dialog, QPoint(0, 0));
        QTest::keyRelease(&dialog, Qt::Key_Left, Qt::ShiftModifier);
        QTest::keyRelease(&dialog, Qt::Key_Up);
        QCOMPARE(dialog.point(), QPoint(0, 0));

        QStringList texts;
        for (QLabel *label : dialog.findChildren<QLabel *>())
            texts << label->text();
        QVERIFY(texts.contains(QStringLiteral("   x: 0, y: 0")));
        QVERIFY(texts.contains(QStringLiteral("   Hex: %1").arg(at(0, 0).name())));
    }

    void clicksCollectNumberedLinesOnTheClipboard()
    {
        PickerDlg dialog(&picture, false, nullptr);
        dialog.show();
        QTest::mouseMove(&dialog, QPoint(300, 20));
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(300, 20));
        QTest::mouseMove(&dialog, QPoint(105, 105));
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(105, 105));
        QTest::mouseMove(&dialog, QPoint(2, 3));
        dialog.slot_StoreRgbInfoToClipboard();
        QCOMPARE(clipboardText(),
                 QStringLiteral("1-Hex: #2c1410; RGB: 44,20,16; HSV: 8,162,44\n"
                                "2-Hex: #4d4d4d; RGB: 77,77,77; HSV: -1,0,77\n"
                                "3-Hex: #020300; RGB: 2,3,0; HSV: 80,255,3\n"));
        QCOMPARE(dialog.result(), 0);
    }

    void copyNoticeFadesAndItsTimerStops()
    {
        PickerDlg dialog(&picture, false, nullptr);
        const QRect notice((dialog.width() - 128) / 2, (dialog.height() - 128) / 2, 128, 128);
        const QImage plain = picture.toImage().copy(notice);
        QCOMPARE(dialog.grab(notice).toImage().convertToFormat(plain.format()), plain);

        dialog.slot_StoreRgbInfoToClipboard();
        QVERIFY(dialog.grab(notice).toImage().convertToFormat(plain.format()) != plain);
        auto *timer = dialog.findChild<QTimer *>();
        QVERIFY(timer->isActive());
        QTRY_VERIFY(!timer->isActive());
        QCOMPARE(dialog.grab(notice).toImage().convertToFormat(plain.format()), plain);
    }

    void ctrlCCopiesOnlyInToolMode()
    {
        for (const bool oneShot : { false, true }) {
            QGuiApplication::clipboard()->setText(QStringLiteral("before"));
            PickerDlg dialog(&picture, oneShot, nullptr);
            dialog.show();
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            QTest::mouseMove(&dialog, QPoint(105, 100));
            QTest::keyClick(&dialog, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(clipboardText(),
                     oneShot ? QStringLiteral("before")
                             : QStringLiteral("1-Hex: #4d4d4d; RGB: 77,77,77; HSV: -1,0,77\n"));
        }
    }

    void oneShotEndsAtTheFirstLeftReleaseOrCancelsWithZero()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        PickerDlg dialog(&picture, true, nullptr);
        dialog.show();
        QTest::mouseMove(&dialog, QPoint(7, 9));
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(7, 9));
        QCOMPARE(dialog.result(), 1);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.pickedColor(), at(7, 9));
        QCOMPARE(clipboardText(), QStringLiteral("before"));

        // Return picks like the click, at the point the arrows moved to.
        dialog.show();
        QTest::keyRelease(&dialog, Qt::Key_Right);
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), 1);
        QCOMPARE(dialog.pickedColor(), at(8, 9));

        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(dialog.result(), 0);
        dialog.show();
        dialog.setResult(1);
        QTest::mouseClick(&dialog, Qt::RightButton, {}, QPoint(7, 9));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), 0);
    }

    void enlargedViewKeepsTheSampledPixelUnderTheCross()
    {
        PickerDlg dialog(&picture, false, nullptr);
        dialog.show();
        auto *view = dialog.findChild<PickerView *>();
        QTest::mouseMove(&dialog, QPoint(300, 200));
        QImage shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(110, 110), at(300, 200));
        QCOMPARE(shown.pixelColor(110 - 9, 110 + 9), at(299, 201));
        QCOMPARE(shown.pixelColor(1, 1), at(288, 188));
        QCOMPARE(shown.pixelColor(0, 0), QColor(120, 120, 120));
        // The cross: cyan taken away from what lies beneath.
        const QColor under = at(300, 200 - 5);
        QCOMPARE(shown.pixelColor(112, 70),
                 QColor(under.red(), 255 - under.green(), 255 - under.blue()));

        // At the top-left corner the missing rows and columns are grey.
        WidgetInput::hover(&dialog, QPoint(0, 0));
        shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(110, 110), at(0, 0));
        QCOMPARE(shown.pixelColor(120, 120), at(1, 1));
        QCOMPARE(shown.pixelColor(50, 150), QColor(120, 120, 120));
        QCOMPARE(shown.pixelColor(150, 50), QColor(120, 120, 120));
    }

    void draggedPanelSnapsBackInside()
    {
        PickerDlg dialog(&picture, false, nullptr);
        dialog.show();
        auto *panel = dialog.findChild<PickerOptionWidget *>();
        QCOMPARE(panel->pos(), QPoint(dialog.width() - 10 - panel->width(), 10));
        const QPoint grip(panel->width() / 2, 5);
        QTest::mousePress(panel, Qt::LeftButton, {}, grip);
        QTest::mouseMove(panel, grip - QPoint(2000, 50));
        QVERIFY(panel->x() < 0);
        QTest::mouseRelease(panel, Qt::LeftButton, {}, grip);
        QCOMPARE(panel->pos(), QPoint(0, 0));

        QTest::mousePress(panel, Qt::LeftButton, {}, grip);
        QTest::mouseMove(panel, grip + QPoint(3000, 3000));
        QTest::mouseRelease(panel, Qt::LeftButton, {}, grip);
        QCOMPARE(panel->pos(),
                 QPoint(dialog.width() - panel->width(), dialog.height() - panel->height()));
        // Dragging the panel never sampled the picture.
        QCOMPARE(dialog.point(), QPoint(dialog.width() / 2, dialog.height() / 2));
    }

    // In high contrast the panel is face and ink: a 2 px ink frame and title
    // strip, its title and value texts standing out by at least 7:1.
    void panelInHighContrast()
    {
        AppState::instance().highContrast = true;
        PickerDlg dialog(&picture, false, nullptr);
        dialog.show();
        auto *panel = dialog.findChild<PickerOptionWidget *>();
        const QImage shown = panel->grab().toImage();
        AppState::instance().highContrast = false;
        const QColor face = LookColours::face(), ink = LookColours::ink();
        QCOMPARE(shown.pixelColor(1, panel->height() / 2), ink);
        QCOMPARE(shown.pixelColor(panel->width() - 2, panel->height() - 2), ink);
        QCOMPARE(shown.pixelColor(panel->width() - 3, panel->stripHeight() / 2), ink);
        QCOMPARE(shown.pixelColor(3, panel->height() - 3), face);
        int titleInk = 0;
        for (int x = panel->stripHeight(); x < panel->width(); ++x)
            for (int y = 0; y < panel->stripHeight(); ++y)
                titleInk += shown.pixelColor(x, y) == face;
        QVERIFY2(titleInk > 10, "the title shows in the face colour on ink");
        for (QLabel *label : panel->findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            const QImage text = label->grab().toImage();
            double best = 1;
            for (int y = 0; y < text.height(); ++y)
                for (int x = 0; x < text.width(); ++x)
                    best = qMax(best, LookColours::contrastRatio(text.pixelColor(x, y), face));
            QVERIFY2(best >= 7.0, qPrintable(label->text()));
        }
    }
};

QTEST_MAIN(TestPicker)
#include "test_picker.moc"
