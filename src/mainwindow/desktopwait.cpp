#include "desktopwait.h"

#include "mainwindow.h"
#include "platform/platform.h"
#include "waitnote.h"

#include <utility>

DesktopWait::DesktopWait(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    noteDelay.setSingleShot(true);
    connect(&noteDelay, &QTimer::timeout, this, &DesktopWait::showNote);
}

DesktopWait::~DesktopWait()
{
    if (isWaiting())
        Platform::instance().cancelFetch();
    stopWaiting();
}

void DesktopWait::whenReady(std::function<void()> then, std::function<void()> cancelled)
{
    if (isWaiting()) {
        Platform::instance().cancelFetch();
        stopWaiting();
    }
    pendingThen = std::move(then);
    pendingCancelled = std::move(cancelled);
    askedAgain = false;
    ask();
}

void DesktopWait::ask()
{
    Platform &platform = Platform::instance();
    GrabNotices *notices = &platform.grabNotices();
    fetchedConnection = connect(notices, &GrabNotices::signal_Fetched, this, &DesktopWait::fetched);
    // The desktop's own dialog has a Cancel of its own, and the note must
    // not be in the picture taken once it is answered.
    askingConnection = connect(notices, &GrabNotices::signal_AskingUser, this, [this] {
        noteDelay.stop();
        noteShown = false;
        if (waitNote)
            waitNote->hide();
    });
    noteShown = false;
    if (!platform.fetchDesktop())
        return fetched();
    noteDelay.start(NoteDelayMs);
}

void DesktopWait::fetched()
{
    disconnect(fetchedConnection);
    disconnect(askingConnection);
    noteDelay.stop();
    // A picture taken while the note showed may show it: asked once more
    // without it.
    const bool pictureMayShowNote = noteShown && Platform::instance().grabRefusal().isEmpty();
    if (waitNote)
        waitNote->hide();
    if (pictureMayShowNote && !askedAgain) {
        askedAgain = true;
        return ask();
    }
    const auto then = std::exchange(pendingThen, {});
    pendingCancelled = {};
    if (then)
        then();
}

void DesktopWait::showNote()
{
    if (!waitNote) {
        waitNote = new WaitNote(window);
        connect(waitNote, &QDialog::rejected, this, &DesktopWait::cancel);
        connect(window, &MainWindow::signal_UpdateLang, waitNote, &WaitNote::slot_UpdateLang);
    }
    noteShown = true;
    waitNote->show();
    waitNote->raise();
}

void DesktopWait::cancel()
{
    if (!isWaiting())
        return;
    Platform::instance().cancelFetch();
    const auto cancelled = std::exchange(pendingCancelled, {});
    stopWaiting();
    if (cancelled)
        cancelled();
}

void DesktopWait::stopWaiting()
{
    disconnect(fetchedConnection);
    disconnect(askingConnection);
    noteDelay.stop();
    pendingThen = {};
    pendingCancelled = {};
    if (waitNote)
        waitNote->hide();
}
