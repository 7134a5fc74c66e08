#include "terminationwatcher.h"

#include <QSocketNotifier>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {
int s_fds[2] = { -1, -1 };

void onSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here; the GUI thread does the work.
    [[maybe_unused]] const ssize_t n = ::write(s_fds[0], &byte, 1);
}
} // namespace

TerminationWatcher::TerminationWatcher(QObject *pParent)
    : QObject(pParent)
{
    if (s_fds[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM, 0, s_fds) != 0)
        return;
    notifier = new QSocketNotifier(s_fds[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationWatcher::readPending);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : { SIGTERM, SIGINT, SIGHUP })
        sigaction(sig, &action, nullptr);
}

TerminationWatcher::~TerminationWatcher()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    for (int sig : { SIGTERM, SIGINT, SIGHUP })
        sigaction(sig, &action, nullptr);
}

void TerminationWatcher::readPending()
{
    char byte = 0;
    [[maybe_unused]] const ssize_t n = ::read(s_fds[1], &byte, 1);
    Q_EMIT signal_Terminate();
}
#else
// Windows ends sessions through window messages, which Qt turns into close events.
TerminationWatcher::TerminationWatcher(QObject *pParent)
    : QObject(pParent)
{
}

TerminationWatcher::~TerminationWatcher() = default;

void TerminationWatcher::readPending() { }
#endif
