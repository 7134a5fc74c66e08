#include "app/appstate.h"
#include "app/instancerequest.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/pagerenderer.h"
#include "mainwindow/actiondispatcher.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "swatch.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QCheckBox>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QtTest>

#include <memory>

// The main window on a real X server with a window manager and a tray host.
class TestMainWindowX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    static xcb_window_t id(QWidget *pWidget) { return xcb_window_t(pWidget->winId()); }

    // Answers the tray question: tick "Don't show this dialog again" or not,
    // then press the given button.
    void answerTrayQuestion(bool bDontShowAgain, QMessageBox::StandardButton button)
    {
        QTimer::singleShot(0, [=] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->text(), QStringLiteral("Hide application to the system tray."));
            auto *check = box->findChild<QCheckBox *>();
            QVERIFY(check);
            QCOMPARE(check->text(), QStringLiteral("Don't show this dialog again"));
            check->setChecked(bDontShowAgain);
            box->button(button)->click();
        });
        window->slot_HideToTray();
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void drawingModeCoversTheScreenOnTop()
    {
        X11Probe x11;
        Swatch other(Qt::green);
        other.setGeometry(200, 200, 300, 300);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));

        window->SetDrawMode(true);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        QTRY_VERIFY(x11.hasNetWmState(id(window.get()), "_NET_WM_STATE_ABOVE"));
        QTRY_COMPARE(x11.rootGeometry(id(window.get())), window->currentScreen()->geometry());
        other.raise();
        other.activateWindow();
        QTRY_VERIFY(x11.stackingIndex(id(&other)) >= 0);
        QTRY_VERIFY(x11.stackingIndex(id(window.get())) > x11.stackingIndex(id(&other)));

        window->SetDrawMode(false);
        QTRY_VERIFY(!window->isVisible());
    }

    void captureHoldsTheScreenPixels()
    {
        const QColor magenta(255, 0, 255);
        Swatch swatch(magenta);
        swatch.setGeometry(300, 250, 240, 160);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        const QPoint centre = swatch.mapToGlobal(swatch.rect().center());

        AppState::instance().captureDelay = 100;
        window->slot_NewCapture();
        QTRY_VERIFY(!window->isBusy());
        // The picture went through the page's file: render the page from it.
        MainView *view = window->view();
        const QImage captured = PageRenderer::renderPage(view->currentPage());
        QCOMPARE(captured.size(), window->currentScreen()->size());
        QCOMPARE(captured.pixelColor(centre), magenta);
        QCOMPARE(captured.pixelColor(centre + QPoint(100, 60)), magenta);
        QVERIFY(captured.pixelColor(centre + QPoint(200, 200)) != magenta);
    }

    void trayQuestionCanBeSwitchedOffEvenWhenCancelled()
    {
        QTRY_VERIFY(QSystemTrayIcon::isSystemTrayAvailable());
        QVERIFY(window->trayIcon()->isVisible());
        answerTrayQuestion(false, QMessageBox::Cancel);
        QVERIFY(!window->isHiddenToTray());
        QVERIFY(AppState::instance().alertTrayIcon);

        answerTrayQuestion(true, QMessageBox::Cancel);
        QVERIFY(!window->isHiddenToTray());
        QVERIFY(!AppState::instance().alertTrayIcon);

        // With the question off, the close button hides at once.
        window->slot_HideToTray();
        QVERIFY(window->isHiddenToTray());
        QVERIFY(window->menu()->actionOpenFromTray->isEnabled());
    }

    void trayAndSecondStartBringTheProgramBack()
    {
        QTRY_VERIFY(QSystemTrayIcon::isSystemTrayAvailable());
        answerTrayQuestion(false, QMessageBox::Ok);
        QVERIFY(window->isHiddenToTray());
        window->slot_TrayIconActivated(QSystemTrayIcon::Context);
        QVERIFY(window->isHiddenToTray());
        window->slot_TrayIconActivated(QSystemTrayIcon::Trigger);
        QVERIFY(!window->isHiddenToTray());
        QVERIFY(!window->menu()->actionOpenFromTray->isEnabled());

        AppState::instance().alertTrayIcon = false;
        window->slot_HideToTray();
        QVERIFY(window->isHiddenToTray());
        (new ActionDispatcher(window.get()))->slot_Handle(InstanceRequest());
        QVERIFY(!window->isHiddenToTray());
    }

    void closeButtonInDrawingModeOnlyLeavesIt()
    {
        window->SetDrawMode(true);
        window->slot_HideToTray();
        QVERIFY(!window->modes()->isDrawMode());
        QVERIFY(!window->isHiddenToTray());
    }
};

QTEST_MAIN(TestMainWindowX11)
#include "test_mainwindow_x11.moc"
