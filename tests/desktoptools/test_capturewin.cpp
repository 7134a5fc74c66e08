#include "desktoptools/capturewin.h"
#include "testenvironment.h"
#include "widgets/closebtn.h"
#include "widgets/popupwidgetbtn.h"

#include <QApplication>
#include <QLabel>
#include <QtTest>

#include <memory>

// The window capture panel without a windowing system to pick from (the
// null platform finds no window): moving it, and a pick that finds nothing.
class TestCaptureWin : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<CaptureWin> panel;

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        panel = std::make_unique<CaptureWin>(nullptr);
        panel->move(100, 100);
        panel->show();
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
};

QTEST_MAIN(TestCaptureWin)
#include "test_capturewin.moc"
