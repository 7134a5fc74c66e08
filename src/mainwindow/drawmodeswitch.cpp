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
#include <QDebug>
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
    connect(this, &DrawModeSwitch::liveDesktopChanged, window->view(), &MainView::setLiveDesktop);
    for (QTimer *timer : { &leaveDelay, &leaveDeadline }) {
        timer->setParent(this);
        timer->setSingleShot(true);
    }
    leaveDelay.setObjectName(QStringLiteral("leaveDelay"));
    leaveDelay.setInterval(LeaveDelayMs);
    connect(&leaveDelay, &QTimer::timeout, window, &MainWindow::slot_PrepareDesktopDone);
    leaveDeadline.setObjectName(QStringLiteral("leaveDeadline"));
    leaveDeadline.setInterval(LeaveDeadlineMs);
    connect(&leaveDeadline, &QTimer::timeout, this, [this] { setDrawMode(false); });
    compositionAvailable = Platform::instance().isCompositionAvailable();
    qDebug().noquote() << "DwmIsCompositionEnabled:" << (compositionAvailable ? "true" : "false");
}

DrawModeSwitch::~DrawModeSwitch() = default;

void DrawModeSwitch::setDrawMode(bool bDrawMode)
{
    const bool wasDrawing = isDrawMode();
    leaveDelay.stop();
    leaveDeadline.stop();
    if (bDrawMode) {
        if (current == State::Leaving)
            waiting.clear();
        current = State::Drawing;
        showPage();
    } else {
        current = State::Desktop;
        showDesktop();
    }
    if (wasDrawing != bDrawMode)
        Q_EMIT drawModeChanged(bDrawMode);
    if (!bDrawMode)
        runWaiting();
}

void DrawModeSwitch::showDesktop()
{
    ToolWidget *toolbar = window->toolbar();
    const QPoint toolbarPos = toolbar->placedPosition();
    if (SessionJournal *journal = window->sessionJournal())
        journal->writeNow();
    toolbar->setParent(nullptr, ToolbarWindowFlags);
    toolbar->moveGlobal(toolbarPos);
    window->shortcuts()->setActive(true);
    window->hide();
    if (!window->isHiddenToTray())
        toolbar->show();
}

void DrawModeSwitch::showPage()
{
    ToolWidget *toolbar = window->toolbar();
    const QPoint toolbarPos = toolbar->placedPosition();
    if (QScreen *screen = window->currentScreen()) {
        if (window->geometry() != screen->geometry())
            window->setGeometry(screen->geometry());
    }
    window->shortcuts()->setActive(false);
    toolbar->setParent(window, Qt::Widget);
    window->show();
    toolbar->moveGlobal(toolbarPos);
    toolbar->setCurrentToolButton(ToolKit::instance().currentToolId() + 2);
    toolbar->show();
    toolbar->raise();
    Platform::instance().setTopmost(window);
    Platform::instance().activate(window);
}

void DrawModeSwitch::leaveDrawing()
{
    if (current != State::Drawing)
        return;
    if (!liveDesktop) {
        setDrawMode(false);
        return;
    }
    current = State::Leaving;
    leaveDelay.start();
    leaveDeadline.start();
}

void DrawModeSwitch::leaveNow()
{
    window->slot_Mouse(1, true);
    if (current == State::Leaving)
        setDrawMode(false);
}

void DrawModeSwitch::whenOnDesktop(std::function<void()> then)
{
    waiting.push_back(std::move(then));
    runWaiting();
}

// One command at a time: a command handed over while another runs (from a
// dialog it shows) waits for it to end, and each finds the desktop again,
// even when the one before it opened a page.
void DrawModeSwitch::runWaiting()
{
    if (runningWaiting)
        return;
    runningWaiting = true;
    while (!waiting.empty() && reachDesktop()) {
        const std::function<void()> next = std::move(waiting.front());
        waiting.pop_front();
        next();
    }
    runningWaiting = false;
}

bool DrawModeSwitch::reachDesktop()
{
    if (current == State::Leaving)
        return false;
    if (current == State::Drawing || ToolKit::instance().currentToolId() != ToolKit::Mouse)
        window->slot_Mouse(1, true);
    return current == State::Desktop;
}

void DrawModeSwitch::toggleLiveDesktop()
{
    QAction *action = window->menu()->actionLiveDesktop;
    ToolWidgetBtn *button = window->toolbar()->button(ToolWidget::LiveDesktop);
    // A compositor may have started or stopped since the program did.
    if (!liveDesktop)
        compositionAvailable = Platform::instance().isCompositionAvailable();
    if (!liveDesktop && !compositionAvailable) {
        action->setChecked(false);
        button->setCurrentMark(false);
        MessageBoxDialog box(window, QStringLiteral("This feature is not available."),
                             Platform::instance().noCompositionAdvice(), QMessageBox::Ok);
        box.exec();
        return;
    }
    liveDesktop = !liveDesktop;
    action->setChecked(liveDesktop);
    button->setCurrentMark(liveDesktop);
    window->setAttribute(Qt::WA_NoSystemBackground, liveDesktop);
    window->setAttribute(Qt::WA_TranslucentBackground, liveDesktop);
    if (liveDesktop)
        window->giveWindowAnAlphaChannel();
    window->update();
    Q_EMIT liveDesktopChanged(liveDesktop);
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
    Q_EMIT captureEnded(true);
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
    Q_EMIT captureEnded(false);
}

void DrawModeSwitch::enterFromDesktop()
{
    if (current != State::Desktop)
        return;
    window->RestoreDrawTool();
    setDrawMode(true);
}
