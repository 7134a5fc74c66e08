#include "app/settledannouncement.h"
#include "desktoptools/pickerdlg.h"
#include "desktoptools/protractordlg.h"
#include "desktoptools/rulerdlg.h"
#include "desktoptools/rulerscale.h"
#include "desktoptools/zoomdlg.h"
#include "desktoptools/zoommemory.h"
#include "testenvironment.h"
#include "widgets/colourname.h"

#include <QPainter>
#include <QScreen>
#include <QtTest>

// What the colour picker, magnifier, ruler and protractor tell a screen
// reader: their accessible name once keys or pointer moves pause, and not
// before.
class TestDesktopAnnouncements : public QObject
{
    Q_OBJECT

    TestEnvironment environment;
    QPixmap still;

private Q_SLOTS:
    void initTestCase()
    {
        // Blue-grey, with a red patch at (100, 100)-(109, 109).
        still = QPixmap(QGuiApplication::primaryScreen()->size());
        still.fill(QColor(0x20, 0x40, 0x80));
        QPainter(&still).fillRect(100, 100, 10, 10, QColor(0xff, 0, 0));
        SettledAnnouncement::setListening([] { return true; });
    }
    void cleanupTestCase() { SettledAnnouncement::setListening(nullptr); }

    void pickerTellsTheColourNameAndCode()
    {
        PickerDlg dialog(&still, false, nullptr);
        dialog.show();
        const QString blueGrey = ColourName::spoken(QColor(0x20, 0x40, 0x80));
        const QString red = ColourName::spoken(Qt::red);
        QVERIFY(blueGrey != red);
        QTRY_COMPARE(dialog.accessibleName(), blueGrey + QStringLiteral(", #204080"));

        QTest::mouseMove(&dialog, QPoint(105, 105));
        QCOMPARE(dialog.accessibleName(), blueGrey + QStringLiteral(", #204080"));
        QTRY_COMPARE(dialog.accessibleName(), red + QStringLiteral(", #ff0000"));
        // Off the patch by keys.
        for (int step = 0; step < 5; ++step)
            QTest::keyClick(&dialog, Qt::Key_Right);
        QTRY_COMPARE(dialog.accessibleName(), blueGrey + QStringLiteral(", #204080"));
    }

    void magnifierTellsItsFrameAndZoom()
    {
        ZoomMemory memory;
        ZoomDlg dialog(&still, &memory, nullptr);
        dialog.show();
        QTest::keyClick(&dialog, Qt::Key_Right, Qt::ShiftModifier);
        dialog.slot_ZoomIn();
        const QRect r = dialog.frame();
        QTRY_COMPARE(dialog.accessibleName(),
                     QStringLiteral("x %1, y %2, width 480, height 360, zoom 2.5 times")
                         .arg(r.left())
                         .arg(r.top()));
        dialog.slot_ZoomAll();
        QTRY_COMPARE(dialog.accessibleName(), QStringLiteral("Full screen, zoom 2.5 times"));
    }

    void rulerTellsItsPlaceAndLengthInItsUnit()
    {
        RulerDlg ruler(false, true);
        ruler.slot_ChangeUnits(RulerScale::Centimeters);
        ruler.show();
        QTest::keyClick(&ruler, Qt::Key_Right, Qt::ControlModifier);
        // 641 pixels at 96 dots per inch.
        QTRY_COMPARE(ruler.accessibleName(),
                     QStringLiteral("Horizontal ruler, x %1, y %2, length 16.96 cm")
                         .arg(ruler.x())
                         .arg(ruler.y()));
        ruler.slot_ChangeLayout(1);
        QTRY_VERIFY(ruler.accessibleName().startsWith(QStringLiteral("Vertical ruler, ")));
    }

    void protractorTellsItsAngle()
    {
        ProtractorDlg dialog(&still, nullptr);
        dialog.show();
        QTRY_COMPARE(dialog.accessibleName(), QStringLiteral("Angle 90 degrees"));
        // The first arm's end moved 100 pixels right halves it.
        QTest::keyClick(&dialog, Qt::Key_Tab);
        QTest::keyClick(&dialog, Qt::Key_Tab);
        for (int step = 0; step < 10; ++step)
            QTest::keyClick(&dialog, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(dialog.accessibleName(), QStringLiteral("Angle 90 degrees"));
        QTRY_COMPARE(dialog.accessibleName(), QStringLiteral("Angle 45 degrees"));
    }
};

QTEST_MAIN(TestDesktopAnnouncements)
#include "test_desktopannouncements.moc"
