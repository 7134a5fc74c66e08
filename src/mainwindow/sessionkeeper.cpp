#include "sessionkeeper.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/partfiles.h"
#include "canvas/mainview.h"
#include "document/mainpage.h"
#include "document/sessionjournal.h"
#include "documentfiles.h"
#include "mainwindow.h"
#include "sessionrecovery.h"
#include "widgets/messageboxdialog.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

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
    // What a killed save, export or journal write left where we write.
    for (const QString &folder : { s.dataFolder, s.homePath })
        PartFiles::removeStale(folder);
    MainView *view = window->view();
    sessionJournal = new SessionJournal(
        recovery.sessionFolder(), [view] { return view->document().pageList(); }, this);
    connect(view, &MainView::signal_PageCommands, sessionJournal, &SessionJournal::touch);
    connect(view, &MainView::signal_UndoCommands, sessionJournal, &SessionJournal::touch);
    connect(sessionJournal, &SessionJournal::signal_WriteFailed, this,
            &SessionKeeper::tellWriteFailed);
    DocumentFiles *files = window->documentFiles();
    // A session restored with only the pages that were in when it was kept
    // must not be saved over the whole document: its path is named once the
    // last page is in.
    const auto namePath = [this, files] {
        sessionJournal->setDocumentPath(files->isLoading() ? QString() : files->documentPath());
    };
    connect(files, &DocumentFiles::signal_NameChanged, sessionJournal, namePath);
    connect(files, &DocumentFiles::signal_LoadFinished, sessionJournal, namePath);
    if (recovery.hasSession())
        offer(recovery);
    // Pages opened before the journal started (from the command line) are
    // kept like any change.
    namePath();
    if (view->document().pageCount() > 0)
        sessionJournal->touch();
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
    // A save killed with the session left its part file beside the
    // document, whatever the answer is now.
    if (!recovery.documentPath().isEmpty())
        PartFiles::removeStale(QFileInfo(recovery.documentPath()).absolutePath());
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
    window->view()->document().addPages(pages);
    window->view()->document().setModified(true);
    if (!recovery.documentPath().isEmpty())
        window->documentFiles()->setDocumentPath(recovery.documentPath());
    recovery.finish(sessionJournal->writeAndWait());
    tellLeftOut(recovery.notes());
    window->RestoreDrawTool();
    window->SetDrawMode(true);
}

// A picture the pages named but that could not be read again is never
// dropped without a word.
void SessionKeeper::tellLeftOut(const QStringList &notes)
{
    if (notes.isEmpty())
        return;
    QStringList lines;
    for (const QString &note : notes)
        lines.append(Lang::tr("MessageBox", note));
    Lang::release();
    auto *box = new MessageBoxDialog(
        window, QStringLiteral("Some parts of the last session were left out."),
        lines.join(QLatin1Char('\n')), QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

void SessionKeeper::terminate()
{
    ending = true;
    if (!sessionJournal || window->view()->document().pageCount() == 0
        || !sessionJournal->writeAndWait()) {
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
