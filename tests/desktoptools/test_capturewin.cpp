#include "app/settledannouncement.h"
#include "desktoptools/capturewin.h"
#include "platform/nullplatform.h"
#include "testenvironment.h"
#include "widgets/closebtn.h"
#include "widgets/focusring.h"
#include "widgets/popupwidgetbtn.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <memory>

namespace {

// A desktop of windows 11, 12 and 13 (uppermost first) that a test can close;
// only 12 has a title.
struct ListedWindows : NullPlatform
{
    QList<WId> shown = { 11, 12, 13 };
    WId outlined = 0;

    QList<WId> topLevelWindows(const QList<WId> &) override { return shown; }
    QRect windowFrameRect(WId window) override
    {
        return shown.contains(window) ? QRect(int(window) * 10, 20, 300, 200) : QRect();
    }
    bool showWindowFrame(WId window) override
    {
        outlined = shown.contains(window) ? window : 0;
        return outlined != 0;
    }
    void hideWindowFrame(WId window) override
    {
        if (window == outlined)
            outlined = 0;
    }
    QString windowTitle(WId window) override
    {
        return window == 12 ? QStringLiteral("Notes") : QString();
    }
};

} // namespace

// The window capture panel without a windowing system to pick from (the
// null platform finds no window): moving it, and a pick that finds nothing;
// then stepping through a stand-in desktop's windows by keys.
class TestCaptureWin : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<CaptureWin> panel;

    ListedWindows *listWindows()
    {
        auto desk = std::make_unique<ListedWindows>();
        ListedWindows *raw = desk.get();
        Platform::replace(std::move(desk));
        return raw;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        panel = std::make_unique<CaptureWin>(nullptr);
        panel->move(100, 100);
        panel->show();
    }
    void cleanup()
    {
        panel.reset();
        Platform::reset();
    }

    void startsWaitingWithOutputsDisabled()
    {
        QVERIFY(panel->findChild<CloseBtn *>()->isEnabled());
        const QList<PopupWidgetBtn *> outputs = panel->findChildren<PopupWidgetBtn *>();
        QCOMPARE(outputs.size(), 3);
        for (PopupWidgetBtn *button : outputs)
            QVERIFY(!button->isEnabled());
        QVERIFY(panel->pickedRect().isEmpty());
        QCOMPARE(panel->cameraLabel()->pixmap().size(), QSize(40, 40));
    }

    void draggingElsewhereMovesThePanel()
    {
        const QPoint grip(panel->width() - 5, 8);
        QTest::mousePress(panel.get(), Qt::LeftButton, Qt::NoModifier, grip);
        QTest::mouseMove(panel.get(), grip + QPoint(50, 30));
        QTest::mouseRelease(panel.get(), Qt::LeftButton, Qt::NoModifier, grip + QPoint(50, 30));
        QCOMPARE(panel->pos(), QPoint(150, 130));
        QVERIFY(!panel->isPicking());
    }

    void pickWithoutAWindowCancels()
    {
        const QPoint start = panel->cameraLabel()->geometry().center();
        QTest::mousePress(panel.get(), Qt::LeftButton, Qt::NoModifier, start);
        // Below the drag distance the icon stays put.
        QTest::mouseMove(panel.get(), start + QPoint(1, 0));
        QVERIFY(!panel->isPicking());
        QTest::mouseMove(panel.get(), start + QPoint(QApplication::startDragDistance(), 0));
        QVERIFY(panel->isPicking());
        QCOMPARE(QCursor::pos(),
                 panel->cameraLabel()->mapToGlobal(panel->cameraLabel()->rect().center()));
        QVERIFY(panel->cameraLabel()->pixmap().isNull());
        QVERIFY(QApplication::overrideCursor());
        QTest::mouseMove(panel.get(), QPoint(500, 400));
        QTest::mouseRelease(panel.get(), Qt::LeftButton, Qt::NoModifier, QPoint(500, 400));
        QVERIFY(!panel->isPicking());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!panel->cameraLabel()->pixmap().isNull());
        QVERIFY(panel->pickedRect().isEmpty());
        QCOMPARE(panel->pos(), QPoint(100, 100));
    }

    void arrowKeysStepThroughTheWindows()
    {
        SettledAnnouncement::setListening([] { return true; });
        ListedWindows *desk = listWindows();
        QLabel *camera = panel->cameraLabel();
        QCOMPARE(panel->focusWidget(), static_cast<QWidget *>(camera));
        // Where the keyboard is shows: the camera wears the focus ring.
        const QPoint ringPixel(1, camera->height() / 2);
        QApplication::setActiveWindow(panel.get());
        QTRY_VERIFY(camera->hasFocus());
        QCOMPARE(camera->grab().toImage().pixelColor(ringPixel), FocusRing::colour());
        QTest::keyClick(camera, Qt::Key_Down);
        QCOMPARE(desk->outlined, WId(11));
        QVERIFY(panel->findChildren<PopupWidgetBtn *>().first()->isEnabled());
        QTest::keyClick(camera, Qt::Key_Right);
        QCOMPARE(desk->outlined, WId(12));
        QTRY_COMPARE(camera->accessibleName(),
                     QStringLiteral("Notes, x 120, y 20, width 300, height 200"));
        // Round past the lowest to the uppermost, and back.
        QTest::keyClick(camera, Qt::Key_Down);
        QTest::keyClick(camera, Qt::Key_Down);
        QCOMPARE(desk->outlined, WId(11));
        QTest::keyClick(camera, Qt::Key_Up);
        QCOMPARE(desk->outlined, WId(13));
        // A window closed meanwhile is passed over.
        desk->shown.removeOne(12);
        QTest::keyClick(camera, Qt::Key_Left);
        QCOMPARE(desk->outlined, WId(11));

        QTest::keyClick(camera, Qt::Key_Return);
        QVERIFY(!panel->isVisible());
        QCOMPARE(panel->result(), 2);
        QCOMPARE(panel->pickedRect(), QRect(110, 20, 300, 200));
        QCOMPARE(desk->outlined, WId(0));
        SettledAnnouncement::setListening(nullptr);
    }

    void escapeAfterAKeyPickTakesTheFrameOff()
    {
        ListedWindows *desk = listWindows();
        QTest::keyClick(panel->cameraLabel(), Qt::Key_Up);
        QCOMPARE(desk->outlined, WId(13));
        QTest::keyClick(panel->cameraLabel(), Qt::Key_Escape);
        QCOMPARE(panel->result(), 0);
        QCOMPARE(desk->outlined, WId(0));
    }
};

QTEST_MAIN(TestCaptureWin)
#include "test_capturewin.moc"
