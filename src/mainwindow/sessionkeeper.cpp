#include "sessionkeeper.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "document/mainpage.h"
#include "document/sessionjournal.h"
#include "mainwindow.h"
#include "sessionrecovery.h"
#include "widgets/messageboxdialog.h"

#include <QCoreApplication>
#include <QFile>

SessionKeeper::SessionKeeper(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
}

void SessionKeeper::start()
{
    const AppState &s = AppState::instance();
    SessionRecovery recovery(s.dataFolder);
    recovery.prepare(s.tempFolder);
    MainView *view = window->view();
    sessionJournal = new SessionJournal(
        recovery.sessionFile(), [view] { return view->pageList(); }, this);
    connect(view, &MainView::signal_PageCommands, sessionJournal, &SessionJournal::touch);
    connect(view, &MainView::signal_UndoCommands, sessionJournal, &SessionJournal::touch);
    connect(sessionJournal, &SessionJournal::signal_WriteFailed, this,
            &SessionKeeper::tellWriteFailed);
    if (recovery.hasSession())
        offer(recovery);
}

void SessionKeeper::tellWriteFailed()
{
    auto *box = new MessageBoxDialog(
        window, QStringLiteral("The session could not be saved."),
        QStringLiteral("The disk may be full. The last saved session is kept; drawing goes on."),
        QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void SessionKeeper::offer(SessionRecovery &recovery)
{
    const QList<MainPage *> pages = recovery.read();
    if (pages.isEmpty()) {
        MessageBoxDialog box(window,
                             QStringLiteral("The pages of the last session could not be read."),
                             recovery.error(), QMessageBox::Ok);
        box.exec();
        recovery.finish(false);
        return;
    }
    unanswered = true;
    const int answer = SessionRecovery::askToRestore(window, int(pages.size()), recovery.savedAt());
    unanswered = false;
    if (answer != QMessageBox::Yes) {
        for (MainPage *page : pages)
            QFile::remove(MainPage::backgroundFile(page->id));
        qDeleteAll(pages);
        // Ended unanswered (a logout closes the question): the session
        // waits for the next start.
        if (answer == QMessageBox::No && !ending)
            recovery.finish(false);
        return;
    }
    window->view()->addPages(pages);
    window->view()->setAllPagesModified(true);
    recovery.finish(sessionJournal->writeAndWait());
    window->RestoreDrawTool();
    window->SetDrawMode(true);
}

void SessionKeeper::terminate()
{
    ending = true;
    if (!sessionJournal || window->view()->pageCount() == 0 || !sessionJournal->writeAndWait()) {
        window->slot_Exit();
        return;
    }
    window->endWithoutQuestion();
    // quit() would close the windows first, and closing asks the question.
    QCoreApplication::exit(0);
}

void SessionKeeper::closeNormally()
{
    if (sessionJournal && !unanswered)
        sessionJournal->remove();
}
