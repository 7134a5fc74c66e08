#pragma once

#include <QObject>
#include <QStringList>

class MainWindow;
class SessionJournal;
class SessionRecovery;

// The crash-safe session: the pages are journaled to the data folder while
// the program runs, offered back at the next start after a run that did not
// close normally, and written at once when the process is asked to end.
class SessionKeeper : public QObject
{
    Q_OBJECT
public:
    explicit SessionKeeper(MainWindow *pWindow);

    // Journals from now on, after offering back the pages of the last run.
    void start();
    SessionJournal *journal() const { return sessionJournal; }
    // A polite end of the process: the pages go to the journal, no question.
    void terminate();
    // A normal close: nothing is left to offer.
    void closeNormally();
    // The process was asked to end (a logout): no question may hold it.
    bool isEnding() const { return ending; }

private:
    void offer(SessionRecovery &recovery);
    void tellWriteFailed();
    void tellLeftOut(const QStringList &notes);

    MainWindow *window;
    SessionJournal *sessionJournal = nullptr;
    // The last session is being offered: it is not this run's to remove.
    bool unanswered = false;
    bool ending = false;
};
