#pragma once

#include <QObject>

class QSocketNotifier;

// Turns a polite request to end the process (SIGTERM, SIGINT, SIGHUP on Unix)
// into a signal on the GUI thread, so that the program closes as if the user
// chose Exit: settings saved, temporary files removed.
class TerminationWatcher : public QObject
{
    Q_OBJECT
public:
    explicit TerminationWatcher(QObject *pParent = nullptr);
    ~TerminationWatcher() override;

Q_SIGNALS:
    void signal_Terminate();

private:
    void readPending();
    QSocketNotifier *notifier = nullptr;
};
