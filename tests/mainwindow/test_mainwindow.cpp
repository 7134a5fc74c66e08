#include "app/appstate.h"
#include "app/screeninuse.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "mainwindow/windowhelpers.h"
#include "modalanswerer.h"
#include "platform/nullplatform.h"
#include "testenvironment.h"
#include "toolbar/optionpopups.h"
#include "toolbar/popupoptionwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QDialog>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QWindow>
#include <QtTest>

#include <memory>

// A desktop whose compositor the test starts and stops.
struct CompositionPlatform : NullPlatform
{
    bool composited = false;
    bool isCompositionAvailable() override { return composited; }
};

class TestMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    // The capture delay as the settings file holds it after a save.
    static QString savedDelay()
    {
        QSettings ini(AppState::instance().iniPath, QSettings::IniFormat);
        return ini.value(QStringLiteral("UserInterface/CaptureDelay")).toString();
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
        Platform::reset();
    }

    void startsInDesktopMode()
    {
        QCOMPARE(MainWindow::instance(), window.get());
        QVERIFY(!window->isVisible());
        QVERIFY(!window->modes()->isDrawMode());
        QVERIFY(!window->menu()->actionOpenFromTray->isEnabled());
        QCOMPARE(window->trayIcon()->toolTip(), QStringLiteral("Quillbury Tavelmark"));
        const auto flags = Qt::WindowStaysOnTopHint | Qt::FramelessWindowHint | Qt::Tool;
        QCOMPARE(window->windowFlags() & flags, flags);
        QVERIFY(QFile::exists(AppState::instance().tempFolder));
    }

    void drawingModeCoversTheScreen()
    {
        window->SetDrawMode(true);
        QVERIFY(window->isVisible());
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(window->geometry(), window->currentScreen()->geometry());
        window->SetDrawMode(false);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->modes()->isDrawMode());
    }

    // The toolbar keeps where it was put across both modes, whatever the
    // window system reports in between (some report the frame's corner).
    void toolbarKeepsItsPlaceAcrossModes()
    {
        ToolWidget *bar = window->toolbar();
        bar->moveToolbar(QPoint(0, 200));
        bar->move(0, 0);
        window->SetDrawMode(true);
        QCOMPARE(bar->mapToGlobal(QPoint(0, 0)), QPoint(0, 200));
        window->SetDrawMode(false);
        QCOMPARE(bar->pos(), QPoint(0, 200));
        QCOMPARE(AppState::instance().barPosY, 200);

        // A click on the title strip, as a user gives the toolbar the focus,
        // right after such a report: the toolbar stays and so does its place.
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar));
        bar->move(0, 0);
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, 4));
        QCOMPARE(bar->pos(), QPoint(0, 200));
        QCOMPARE(AppState::instance().barPosY, 200);

        // Such a report, unasked, is undone, so that nothing is later resized
        // or anchored there.
        // (Here the window system reports every move, also this one.)
        bar->windowHandle()->setPosition(0, 0);
        QTRY_COMPARE(bar->pos(), QPoint(0, 200));
    }

    void penButtonStartsACapture()
    {
        window->toolbar()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window->toolbar()));
        QWidget *pen = window->toolbar()->button(ToolWidget::Pen);
        QTest::mouseClick(pen, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(window->isBusy());
        QVERIFY(!window->toolbar()->isVisible());
    }

    // The grab waits for the delay, not taken at once; a second request
    // during the wait makes no second page.
    void captureWaitsItsDelayAndIsTakenOnce()
    {
        AppState::instance().captureDelay = 100;
        window->slot_NewCapture();
        QVERIFY(window->isBusy());
        QVERIFY(!window->isVisible());
        QCOMPARE(window->view()->document().pageCount(), 0);
        window->slot_NewCapture();
        QTRY_VERIFY(!window->isBusy());
        QVERIFY(window->modes()->isDrawMode());
        QCOMPARE(window->view()->document().pageCount(), 1);
        QCOMPARE(window->view()->currentPage()->background, int(MainPage::PictureBackground));
        QCOMPARE(window->view()->backgroundPicture().size(), window->currentScreen()->size());
    }

    void escapeReturnsToTheDesktop()
    {
        window->SetDrawMode(true);
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // The Mouse tool is already the desktop: Escape does nothing.
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(window->isVisible());

        window->slot_Highlighter(1, false);
        QTest::keyClick(window.get(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
        QVERIFY(!window->modes()->isDrawMode());
        QCOMPARE(ToolKit::instance().currentToolId(), int(ToolKit::Mouse));
        QCOMPARE(ToolKit::instance().lastToolId(), int(ToolKit::Highlighter));
    }

    // Composition is asked for when live desktop is, so a compositor started
    // after the program counts; the refusal speaks of this desktop.
    void liveDesktopNeedsComposition()
    {
        auto fake = std::make_unique<CompositionPlatform>();
        CompositionPlatform *desktop = fake.get();
        Platform::replace(std::move(fake));
        {
            ModalAnswerer answerer;
            window->slot_LiveDesktop();
            QCOMPARE(answerer.texts.size(), 1);
            QVERIFY(answerer.texts.at(0).startsWith(QStringLiteral(
                "This feature is not available.\nNo compositing manager is running.")));
            QCOMPARE(answerer.titles.at(0), QStringLiteral("Quillbury Tavelmark"));
        }
        QVERIFY(!window->modes()->isLiveDesktop());

        desktop->composited = true;
        window->slot_LiveDesktop();
        QVERIFY(window->modes()->isLiveDesktop());
        QVERIFY(window->testAttribute(Qt::WA_TranslucentBackground));
        window->slot_LiveDesktop();
        QVERIFY(!window->modes()->isLiveDesktop());
        QVERIFY(!window->testAttribute(Qt::WA_TranslucentBackground));
    }

    void screenChangesSettleOnce()
    {
        window->slot_Pen(1, false);
        window->SetDrawMode(true);
        window->slot_ScreenResized(ScreenInUse::index() + 1);
        QCOMPARE(window->findChildren<QTimer *>(QStringLiteral("resizeTimer")).size(), 0);
        window->slot_ScreenResized(ScreenInUse::index());
        window->slot_ScreenResized(ScreenInUse::index());
        QCOMPARE(window->findChildren<QTimer *>(QStringLiteral("resizeTimer")).size(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(!window->modes()->isDrawMode(), 3000);
        QTRY_COMPARE(window->findChildren<QTimer *>(QStringLiteral("resizeTimer")).size(), 0);
    }

    void languageChangeRetextsOnlyKnownNames()
    {
        QSignalSpy spy(window.get(), &MainWindow::signal_UpdateLang);
        window->slot_ChangeLanguage(QStringLiteral("Nonexistent"));
        QCOMPARE(spy.count(), 0);
        AppState::instance().language = QStringLiteral("zz");
        window->slot_ChangeLanguage(QStringLiteral("English"));
        QCOMPARE(spy.count(), 1);
        QCOMPARE(AppState::instance().language, QStringLiteral("en_GB"));
    }

    // The hidden bar skips its style work at start-up, yet looks right when shown.
    void menuBarTakesItsLookWhenShown()
    {
        MenuBar *bar = window->menu();
        QVERIFY(bar->styleSheet().isEmpty());
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * 2);
        bar->setBarFont(font);
        bar->parentWidget()->show();
        window->show();
        QVERIFY(bar->isVisible());
        QVERIFY(bar->styleSheet().startsWith(QStringLiteral("QMenuBar {background-color")));
        QCOMPARE(bar->font().pointSizeF(), font.pointSizeF());
        QCOMPARE(bar->minimumWidth(), bar->sizeHint().width());
        const int width = bar->width();
        window->slot_ChangeLanguage(QStringLiteral("简体中文"));
        QVERIFY(bar->width() != width);
        QCOMPARE(bar->minimumWidth(), bar->sizeHint().width());
    }

    void centreOnScreenSitsAboveTheMiddle()
    {
        QWidget widget;
        widget.resize(200, 100);
        CentreOnScreen(&widget, true);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(widget.pos(),
                 QPoint(screen.left() + (screen.width() + 1 - 200) / 2,
                        screen.top() + (screen.height() + 1 - 100) / 2 - 39));
        widget.move(5, 6);
        widget.resize(screen.width() + 10, screen.height() + 10);
        CentreOnScreen(&widget, true);
        QCOMPARE(widget.pos(), QPoint(5, 6));
    }

    void scaledCursorFollowsTheTouchInterface()
    {
        QWidget widget;
        SetScaledCursor(&widget, QStringLiteral(":/Res/TrayIcon"), QPoint(11, 11));
        QCOMPARE(widget.cursor().pixmap().size(), QSize(24, 24));
        QCOMPARE(widget.cursor().hotSpot(), QPoint(11, 11));
        AppState::instance().enableTouchUI = true;
        SetScaledCursor(&widget, QStringLiteral(":/Res/TrayIcon"), QPoint(11, 11));
        QCOMPARE(widget.cursor().pixmap().size(), QSize(48, 48));
        QCOMPARE(widget.cursor().hotSpot(), QPoint(22, 22));
    }

    void closeQuestionCancelKeepsTheDocument()
    {
        window->view()->newPage();
        ModalAnswerer answerer(QMessageBox::Cancel);
        QVERIFY(!window->close());
        QCOMPARE(answerer.texts,
                 QStringList(QStringLiteral(
                     "The document has been modified.\nDo you want to save your changes?")));
        QCOMPARE(window->view()->document().pageCount(), 1);
        QVERIFY(QFile::exists(AppState::instance().tempFolder));
    }

    // "Save" asks where to write the document; cancelling that must not lose
    // the pages.
    void closeQuestionSaveCancelledKeepsTheDocument()
    {
        window->view()->newPage();
        window->view()->newPage();
        ModalAnswerer answerer(QMessageBox::Save);
        answerer.rejectOtherDialogs = true;
        QVERIFY(!window->close());
        QCOMPARE(answerer.texts.size(), 1);
        QCOMPARE(answerer.fileDialogs, 1);
        QCOMPARE(answerer.otherDialogs, 0);
        QCOMPARE(window->view()->document().pageCount(), 2);
        QVERIFY(window->view()->document().isModified());
    }

    // Closing quits the application, after which no modal loop runs in this
    // process: these cases come last.
    void closeQuestionDiscardCloses()
    {
        window->view()->newPage();
        ModalAnswerer answerer(QMessageBox::Discard);
        QVERIFY(window->close());
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(!QFile::exists(AppState::instance().tempFolder));
    }

    void closingSavesAndRemovesTemporaryFiles()
    {
        AppState::instance().captureDelay = 2500;
        const QString temp = AppState::instance().tempFolder;
        QVERIFY(writeFile(temp + QStringLiteral("page1.png"), QByteArray()));
        window->slot_Exit();
        QVERIFY(!QFile::exists(temp));
        QCOMPARE(savedDelay(), QStringLiteral("2500"));
    }

    // Without a tray to come back from, hiding would lose the program: the
    // close button ends it instead (here: no tray host on this platform).
    void closeButtonWithoutTrayEndsTheProgram()
    {
        QVERIFY(!QSystemTrayIcon::isSystemTrayAvailable());
        AppState::instance().captureDelay = 700;
        window->slot_HideToTray();
        QVERIFY(!window->isHiddenToTray());
        QVERIFY(!QFile::exists(AppState::instance().tempFolder));
        QCOMPARE(savedDelay(), QStringLiteral("700"));
    }

    // F6 takes the keyboard from the toolbar to the floating options panel;
    // Escape brings it back to the button the panel belongs to.
    void floatingPanelIsReachedByF6()
    {
        window->slot_Pen();
        window->slot_FloatingDrawToolOptions();
        PopupOptionWidget *panel = window->optionPopups()->floating();
        QVERIFY(panel);
        QTRY_VERIFY(panel->isVisible());
        QApplication::setActiveWindow(window.get());
        ToolWidget *bar = window->toolbar();
        bar->focusKeyboard();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
        QVERIFY(panel->isAncestorOf(QApplication::focusWidget()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), bar->optionButton());
        QVERIFY(bar->isKeyboardMode());
        QVERIFY(panel->isVisible());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
