#include "drawmodeswitch.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "desktopwait.h"
#include "document/backgroundfiles.h"
#include "document/sessionjournal.h"
#include "mainshortcut.h"
#include "mainwindow.h"
#include "menubar.h"
#include "platform/platform.h"
#include "platform/screengrab.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "widgets/messageboxdialog.h"

#include <QAction>
#include <QCoreApplication>
#include <QScreen>
#include <QTimer>

namespace {
constexpr Qt::WindowFlags ToolbarWindowFlags
    = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
} // namespace

DrawModeSwitch::DrawModeSwitch(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    connect(&BackgroundFiles::instance(), &BackgroundFiles::writeFailed, this,
            &DrawModeSwitch::reportUnwrittenPicture);
}

DrawModeSwitch::~DrawModeSwitch() = default;

void DrawModeSwitch::setDrawMode(bool bDrawMode)
{
    AppState &s = AppState::instance();
    ToolWidget *toolbar = window->toolbar();
    const QPoint toolbarPos = toolbar->placedPosition();
    if (!bDrawMode) {
        s.mode = 0;
        if (SessionJournal *journal = window->sessionJournal())
            journal->writeNow();
        toolbar->setParent(nullptr, ToolbarWindowFlags);
        toolbar->moveGlobal(toolbarPos);
        window->shortcuts()->setActive(true);
        window->hide();
        if (!window->isHiddenToTray())
            toolbar->show();
        return;
    }
    if (QScreen *screen = window->currentScreen()) {
        if (window->geometry() != screen->geometry())
            window->setGeometry(screen->geometry());
    }
    s.mode = 1;
    window->shortcuts()->setActive(false);
    toolbar->setParent(window, Qt::Widget);
    window->show();
    toolbar->moveGlobal(toolbarPos);
    toolbar->setCurrentToolButton(ToolKit::instance().currentToolId() + 2);
    toolbar->show();
    toolbar->raise();
    Platform::instance().setTopmost(window);
}

void DrawModeSwitch::toggleLiveDesktop()
{
    AppState &s = AppState::instance();
    QAction *action = window->menu()->actionLiveDesktop;
    ToolWidgetBtn *button = window->toolbar()->button(ToolWidget::LiveDesktop);
    // A compositor may have started or stopped since the program did.
    if (!s.liveDesktop)
        s.compositionAvailable = Platform::instance().isCompositionAvailable();
    if (!s.liveDesktop && !s.compositionAvailable) {
        action->setChecked(false);
        button->setCurrentMark(false);
        MessageBoxDialog box(window, QStringLiteral("This feature is not available."),
                             Platform::instance().noCompositionAdvice(), QMessageBox::Ok);
        box.exec();
        return;
    }
    s.liveDesktop = !s.liveDesktop;
    action->setChecked(s.liveDesktop);
    button->setCurrentMark(s.liveDesktop);
    window->setAttribute(Qt::WA_NoSystemBackground, s.liveDesktop);
    window->setAttribute(Qt::WA_TranslucentBackground, s.liveDesktop);
    if (s.liveDesktop)
        window->giveWindowAnAlphaChannel();
    window->update();
    window->view()->update();
}

void DrawModeSwitch::reportUnwrittenPicture()
{
    MessageBoxDialog box(window,
                         QStringLiteral("The page's picture could not be written to the temporary "
                                        "folder; the disk may be full."),
                         QStringLiteral("The page keeps its picture in memory until the program "
                                        "ends."),
                         QMessageBox::Ok);
    box.exec();
}

void DrawModeSwitch::startCapture()
{
    if (window->isBusy())
        return;
    window->setBusy(true);
    window->toolbar()->hide();
    QTimer::singleShot(AppState::instance().captureDelay, window, &MainWindow::slot_CaptureDone);
    // The delay is a wait anyway: the grab's memory is made ready meanwhile.
    grab = Platform::instance().prepareGrab(window->currentScreen());
}

void DrawModeSwitch::finishCapture()
{
    window->desktopWait()->whenReady([this] { captureIntoPage(); }, [this] { cancelCapture(); });
}

// The drawing window is mapped while the X server still copies the screen:
// the picture shows the screen as it was when asked, and the window shows
// the page on its first paint, which waits for the event loop.
void DrawModeSwitch::captureIntoPage()
{
    MainView *view = window->view();
    if (!grab)
        grab = Platform::instance().prepareGrab(window->currentScreen());
    grab->ask();
    view->newPage();
    setDrawMode(true);
    // Refused, the grab leaves a blank page to draw on; the refusal is told elsewhere.
    const QPixmap desktop = grab->take();
    grab.reset();
    if (!desktop.isNull())
        view->setBackground(desktop);
    window->setBusy(false);
}

// The user gave up waiting for the desktop: back on it with the mouse, as
// before the tool was chosen.
void DrawModeSwitch::cancelCapture()
{
    grab.reset();
    window->setBusy(false);
    window->slot_Mouse(1, false);
    if (!window->isHiddenToTray())
        window->toolbar()->show();
}

void DrawModeSwitch::enterFromDesktop()
{
    if (AppState::instance().mode != 0)
        return;
    window->RestoreDrawTool();
    setDrawMode(true);
}

void DrawModeSwitch::leaveAndWait()
{
    window->slot_Mouse(1, true);
    waitForDesktopMode();
}

// With live desktop the switch happens on a short timer; user input waits.
void DrawModeSwitch::waitForDesktopMode()
{
    const AppState &s = AppState::instance();
    while (s.mode == 1 && !window->toolbar()->isVisible())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents
                                        | QEventLoop::WaitForMoreEvents);
}
