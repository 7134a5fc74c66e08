#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/capturewin.h"
#include "dialogs/desktopshortcuthint.h"
#include "dialogs/preferencesdlg.h"
#include "mainwindow/mainwindow.h"
#include "modalanswerer.h"
#include "platform/globalshortcutsportal.h"
#include "platform/nullplatform.h"
#include "platform/screenshotportal.h"
#include "platform/waylandplatform.h"
#include "testenvironment.h"

#include <QDBusConnection>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The program in a Wayland session whose compositor offers no screenshot
// portal (the private bus of this test has none): it says so and still draws.
class TestWaylandBehaviour : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        Platform::replace(std::make_unique<WaylandPlatform>(
            std::make_unique<NullPlatform>(),
            std::make_unique<ScreenshotPortal>(QDBusConnection::sessionBus()),
            std::make_unique<GlobalShortcutsPortal>(QDBusConnection::sessionBus())));
        window = std::make_unique<MainWindow>();
        AppState::instance().captureDelay = 50;
    }

    void cleanup()
    {
        window.reset();
        Platform::reset();
        env.reset();
    }

    void refusedCaptureLeavesABlankPageAndSaysWhy()
    {
        QSignalSpy refused(&Platform::instance().grabNotices(), &GrabNotices::signal_Refused);
        window->slot_NewFullScreenCapture();
        QTRY_COMPARE(AppState::instance().mode, 1);
        QCOMPARE(window->view()->pageCount(), 1);
        QTRY_VERIFY(!window->isBusy());
        QVERIFY(refused.count() >= 1);
        QVERIFY(refused.at(0).at(0).toString().contains(
            QStringLiteral("org.freedesktop.portal.Screenshot")));

        // A desktop tool on a refused grab does not open on nothing.
        window->SetDrawMode(false);
        refused.clear();
        bool dialogSeen = false;
        QTimer watch;
        watch.callOnTimeout([&] {
            dialogSeen
                = dialogSeen || qobject_cast<CaptureDlg *>(QApplication::activeModalWidget());
        });
        watch.start(5);
        window->slot_ScreenCapture_Rect();
        QTRY_VERIFY(refused.count() >= 1);
        QTRY_VERIFY(!window->isBusy());
        QVERIFY(!dialogSeen);
    }

    // Other programs' windows cannot be found: one line says so, and the
    // region capture is tried instead of a panel that could pick nothing.
    void windowCaptureOffersARegion()
    {
        QSignalSpy refused(&Platform::instance().grabNotices(), &GrabNotices::signal_Refused);
        bool pickerSeen = false;
        QTimer watch;
        watch.callOnTimeout([&] {
            pickerSeen
                = pickerSeen || qobject_cast<CaptureWin *>(QApplication::activeModalWidget());
        });
        watch.start(5);
        ModalAnswerer answerer;
        window->slot_ScreenCapture_Window();
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.at(0).contains(QStringLiteral("capture a region instead")));
        QVERIFY(!answerer.texts.at(0).contains(QLatin1Char('\n')));
        QTRY_VERIFY(refused.count() >= 1);
        QTRY_VERIFY(!window->isBusy());
        QVERIFY(!pickerSeen);
    }

    void preferencesShowTheDesktopCommands()
    {
        {
            PreferencesDlg dialog(window.get());
            auto *hint = dialog.findChild<DesktopShortcutHint *>();
            QVERIFY(hint);
            QVERIFY(!hint->isHidden());
            QVERIFY(hint->text().contains(QStringLiteral("keyboard settings")));
            for (const QString &command : DesktopShortcutHint::commands())
                QVERIFY2(hint->text().contains(command), qPrintable(command));
        }
        Platform::replace(std::make_unique<NullPlatform>());
        PreferencesDlg dialog(window.get());
        QVERIFY(dialog.findChild<DesktopShortcutHint *>()->isHidden());
    }
};

QTEST_MAIN(TestWaylandBehaviour)
#include "test_waylandbehaviour.moc"
