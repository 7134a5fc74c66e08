#include "canvas/mainview.h"
#include "canvas/pentool.h"
#include "canvas/toolkit.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/capturewin.h"
#include "desktoptools/pickerdlg.h"
#include "desktoptools/rulerdlg.h"
#include "document/mainpage.h"
#include "mainwindow/desktoptoolrunner.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QtTest>

#include <functional>
#include <memory>

// The main window's side of the desktop tools: one tool at a time, the
// delayed dialogs, and where their results go.
class TestDesktopToolRunner : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    DesktopToolRunner *runner() const { return window->desktopTools(); }

    // Answers the next modal dialog of type T with `act`, from a timer: the
    // dialog runs its own event loop below the waiting test.
    template<class T>
    bool answerModal(const std::function<void(T *)> &act)
    {
        bool answered = false;
        QTimer poll;
        poll.callOnTimeout([&] {
            if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
                poll.stop();
                act(dialog);
                answered = true;
            }
        });
        poll.start(10);
        return QTest::qWaitFor([&] { return answered; }, 10000);
    }

    static QPixmap picture()
    {
        QPixmap pixmap(40, 30);
        pixmap.fill(Qt::blue);
        QPainter(&pixmap).fillRect(0, 0, 10, 10, Qt::yellow);
        return pixmap;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        AppState::instance().captureDelay = 100;
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void capturesReachClipboardAndNewPage()
    {
        runner()->deliver(4, picture());
        const QImage copied = QApplication::clipboard()->image();
        QCOMPARE(copied.size(), QSize(40, 30));
        QCOMPARE(copied.pixelColor(2, 2), QColor(Qt::yellow));

        QVERIFY(!window->modes()->isDrawMode());
        runner()->deliver(2, picture());
        QCOMPARE(window->view()->document().pageCount(), 1);
        QCOMPARE(window->view()->currentPage()->objects.size(), 1);
        QVERIFY(window->modes()->isDrawMode());
    }

    // The rectangle capture opens on the still screen; its clipboard output
    // is the marked 300 x 200 area and enables the previous-area entry.
    void rectangleCaptureEndToEnd()
    {
        QAction *previous = window->menu()->previousAreaAction();
        QVERIFY(!previous->isEnabled());
        window->slot_ScreenCapture_Rect();
        QVERIFY(window->isBusy());
        QVERIFY(!window->toolbar()->isVisible());
        QVERIFY(answerModal<CaptureDlg>([](CaptureDlg *dlg) { dlg->slot_Captoclip(); }));
        QTRY_VERIFY(!window->isBusy());
        QCOMPARE(QApplication::clipboard()->image().size(), QSize(300, 200));
        QVERIFY(previous->isEnabled());
        QCOMPARE(runner()->previousArea().boundingRect().size(), QSizeF(300, 200));
    }

    // Window capture over a page: the page steps aside for the pick, so
    // that the windows beneath it can be found, and comes back after.
    void windowCaptureOverAPageUncoversTheDesktop()
    {
        window->slot_New();
        QTRY_VERIFY(window->modes()->isDrawMode());
        QVERIFY(window->isVisible());
        bool pageHidden = false;
        QTimer::singleShot(0, window.get(), [this] { window->slot_SelectTools(2); });
        QVERIFY(answerModal<CaptureWin>([&](CaptureWin *picker) {
            pageHidden = !window->isVisible();
            picker->reject();
        }));
        QVERIFY(pageHidden);
        QTRY_VERIFY(!window->isBusy());
        QVERIFY(window->isVisible());
        QVERIFY(window->modes()->isDrawMode());
    }

    // A second tool while one is pending is ignored and does not take over
    // the pending tool's value.
    void secondToolWhileBusyIsIgnored()
    {
        window->slot_SelectTools(43);
        window->slot_SelectTools(7);
        QCOMPARE(runner()->currentTool(), 43);
        QVERIFY(answerModal<PickerDlg>(
            [](PickerDlg *dlg) { QTest::mouseClick(dlg, Qt::LeftButton, {}, QPoint(3, 3)); }));
        QTRY_VERIFY(!window->isBusy());
        QVERIFY(window->view()->document().pageCount() == 1);
        QVERIFY(!qobject_cast<QDialog *>(QApplication::activeModalWidget()));
    }

    // In drawing mode the hotkey picks the current tool's colour; with the
    // eraser it does nothing.
    void colourPickerHotKey()
    {
        window->view()->newPage();
        window->slot_Eraser(1, false);
        window->SetDrawMode(true);
        window->slot_ColorPicker_HotKey();
        QVERIFY(!window->isBusy());

        window->slot_Pen(1, false);
        window->slot_ChangeDrawToolColor(Qt::green);
        window->slot_ColorPicker_HotKey();
        QVERIFY(window->isBusy());
        QColor expected;
        QVERIFY(answerModal<PickerDlg>([&](PickerDlg *dlg) {
            QTest::mouseClick(dlg, Qt::LeftButton, {}, QPoint(5, 5));
            expected = dlg->pickedColor();
        }));
        QTRY_VERIFY(!window->isBusy());
        QVERIFY(expected != QColor(Qt::green));
        QCOMPARE(ToolKit::instance().penTool()->strokeTemplate.colour, expected);
    }

    // Desktop rulers stay open as windows; the toolbar returns with the last.
    void desktopRulers()
    {
        window->slot_Ruler();
        QCOMPARE(runner()->rulerCount(), 1);
        QVERIFY(!window->toolbar()->isVisible());
        window->slot_Ruler();
        QCOMPARE(runner()->rulerCount(), 1);
        runner()->slot_CreateRuler(true);
        QCOMPARE(runner()->rulerCount(), 2);
        const auto rulers = QApplication::topLevelWidgets();
        for (QWidget *widget : rulers)
            if (auto *ruler = qobject_cast<RulerDlg *>(widget))
                ruler->slot_Close();
        QTRY_COMPARE(runner()->rulerCount(), 0);
        QVERIFY(!window->isBusy());
        QVERIFY(window->toolbar()->isVisible());
    }
};

QTEST_MAIN(TestDesktopToolRunner)
#include "test_desktoptoolrunner.moc"
