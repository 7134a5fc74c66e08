#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "desktoptools/capturedlg.h"
#include "desktoptools/capturewin.h"
#include "dialogs/desktopshortcuthint.h"
#include "dialogs/preferencesdlg.h"
#include "fakescreenshotportal.h"
#include "mainwindow/actiondispatcher.h"
#include "mainwindow/desktopwait.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/waitnote.h"
#include "modalanswerer.h"
#include "platform/globalshortcutsportal.h"
#include "platform/nullplatform.h"
#include "platform/screenshotportal.h"
#include "platform/waylandplatform.h"
#include "testenvironment.h"

#include "toolbar/toolwidget.h"

#include <QDBusConnection>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The program in a Wayland session whose compositor offers no screenshot
// portal (the private bus of this test has none): it says so and still draws.
// A portal that takes its time holds nothing up.
class TestWaylandBehaviour : public QObject
{
    Q_OBJECT

    // The portal's deadline here, short enough to wait for.
    static constexpr int DeadlineMs = 2000;

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    WaitNote *shownNote() const
    {
        WaitNote *note = window->desktopWait()->note();
        return note && note->isVisible() ? note : nullptr;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        Platform::replace(std::make_unique<WaylandPlatform>(
            std::make_unique<NullPlatform>(),
            std::make_unique<ScreenshotPortal>(QDBusConnection::sessionBus(), DeadlineMs),
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
        QTRY_VERIFY(window->modes()->isDrawMode());
        QCOMPARE(window->view()->document().pageCount(), 1);
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

    // While the portal is silent the program goes on: a note with Cancel
    // shows, and Cancel leaves everything as it was before the Pen was
    // chosen; the portal is told. Left alone, the wait ends at the deadline
    // with the refusal told and a blank page.
    void aSilentPortalHoldsNothingUp()
    {
        FakeScreenshotPortal fake;
        fake.setMode(FakeScreenshotPortal::Mode::Silent);
        QVERIFY(fake.serve());
        QSignalSpy refused(&Platform::instance().grabNotices(), &GrabNotices::signal_Refused);
        window->slot_Pen();
        QVERIFY(window->isBusy());
        QTRY_VERIFY(shownNote());
        QCOMPARE(fake.calls().size(), 1);
        QVERIFY(window->toolbar()->isHidden());
        QTest::mouseClick(shownNote()->cancelButton(), Qt::LeftButton);
        QVERIFY(!shownNote());
        QVERIFY(!window->isBusy());
        QVERIFY(!window->modes()->isDrawMode());
        QVERIFY(window->toolbar()->isVisible());
        QCOMPARE(ToolKit::instance().currentToolId(), int(ToolKit::Mouse));
        QCOMPARE(window->view()->document().pageCount(), 0);
        QTRY_COMPARE(fake.closes(), 1);
        QVERIFY(refused.isEmpty());

        // The same for a desktop tool.
        window->slot_ColorPicker();
        QTRY_VERIFY(shownNote());
        shownNote()->reject();
        QVERIFY(!window->isBusy());
        QVERIFY(window->toolbar()->isVisible());

        window->slot_NewFullScreenCapture();
        QTRY_VERIFY(shownNote());
        QTRY_VERIFY_WITH_TIMEOUT(!refused.isEmpty(), 4 * DeadlineMs);
        QCOMPARE(refused.at(0).at(0).toString(),
                 QStringLiteral("The desktop's screenshot portal did not answer in time."));
        QVERIFY(!shownNote());
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(window->view()->document().pageCount(), 1);
        QVERIFY(!window->isBusy());
    }

    // A picture that comes while the note shows may show the note: it is
    // asked for once more, and that one makes the page.
    void aLatePictureIsTakenAgain()
    {
        FakeScreenshotPortal fake;
        QTemporaryDir folder;
        QImage green(QGuiApplication::primaryScreen()->size(), QImage::Format_RGB32);
        green.fill(Qt::green);
        fake.setPicture(green, folder.path());
        fake.setMode(FakeScreenshotPortal::Mode::Held);
        QVERIFY(fake.serve());
        window->slot_NewFullScreenCapture();
        QTRY_VERIFY(shownNote());
        fake.release();
        QTRY_VERIFY(window->modes()->isDrawMode());
        QCOMPARE(fake.calls().size(), 2);
        QVERIFY(!shownNote());
        QCOMPARE(window->view()->document().pageCount(), 1);
        QVERIFY(!window->isBusy());
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
        // The fourth hotkey brings the last page back from the desktop, and
        // so does the fourth command.
        const QString fourth = DesktopShortcutHint::commands().value(3);
        window->slot_New();
        window->SetDrawMode(false);
        ActionDispatcher dispatcher(window.get());
        QVERIFY(dispatcher.perform(fourth.section(QLatin1Char(' '), -1)));
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(window->view()->document().pageCount(), 1);
        QVERIFY(!window->isBusy());
        Platform::replace(std::make_unique<NullPlatform>());
        PreferencesDlg dialog(window.get());
        QVERIFY(dialog.findChild<DesktopShortcutHint *>()->isHidden());
    }
};

QTEST_MAIN(TestWaylandBehaviour)
#include "test_waylandbehaviour.moc"
