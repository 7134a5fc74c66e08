// What the accessibility bridge costs at start-up: start-up to the mapped
// window and idle memory of the program beside the minimal Qt window, first
// with the bridge off (no reader), then with it forced on against a running
// accessibility bus. Needs an X server with a window manager and a session
// bus (scripts/bench.sh runs it under dbus-run-session).
#include "mapwatcher.h"
#include "procstats.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <vector>

using namespace ProcStats;

namespace {
const int rounds = 15; // five starts spread too widely to tell a change
const int settleMs = 1000;

struct Figures
{
    std::vector<double> startMs, rssMb;
};

bool busAnswers()
{
    QProcess query;
    query.start(QStringLiteral("dbus-send"),
                { QStringLiteral("--session"), QStringLiteral("--print-reply"),
                  QStringLiteral("--dest=org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                  QStringLiteral("org.a11y.Bus.GetAddress") });
    return query.waitForFinished(5000) && query.exitCode() == 0;
}

bool runOnce(const QString &strPath, const QByteArray &title, MapWatcher &watcher,
             const QProcessEnvironment &env, Figures *pKeep)
{
    QProcess process;
    process.setProcessEnvironment(env);
    const Start started = start(process, strPath, title, watcher);
    if (started.ms < 0) {
        std::printf("no window titled \"%s\" was mapped\n", title.constData());
        stop(process);
        return false;
    }
    QThread::msleep(settleMs); // idle means nothing to wait for
    if (pKeep) {
        pKeep->startMs.push_back(started.ms);
        pKeep->rssMb.push_back(rssMb(process.processId()));
    }
    return stop(process);
}

void line(const char *what, const char *unit, const std::vector<double> &real,
          const std::vector<double> &minimal)
{
    const double value = median(real), base = median(minimal);
    std::printf("  %-26s program %7.1f %s (%.1f-%.1f)   minimal Qt %7.1f %s (%.1f-%.1f)   ratio "
                "%.2f\n",
                what, value, unit, lowest(real), highest(real), base, unit, lowest(minimal),
                highest(minimal), value / base);
}

bool measure(const char *label, const QProcessEnvironment &env, MapWatcher &watcher)
{
    Figures real, minimal;
    // The first round is a warm-up: settings created, file caches filled.
    for (int round = 0; round <= rounds; ++round) {
        if (!runOnce(QStringLiteral(TAV_PROGRAM), "Quillbury Tavelmark", watcher, env,
                     round > 0 ? &real : nullptr)
            || !runOnce(QStringLiteral(TAV_MINIMAL), "Minimal Toolbar", watcher, env,
                        round > 0 ? &minimal : nullptr))
            return false;
    }
    std::printf("%s: medians (and spread) of %d starts each, interleaved\n", label, rounds);
    line("start-up to mapped window:", "ms", real.startMs, minimal.startMs);
    line("idle memory (VmRSS):", "MB", real.rssMb, minimal.rssMb);
    return true;
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MapWatcher watcher;
    if (!watcher.connected() || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS")) {
        std::printf("bench_startup_a11y needs an X server (DISPLAY) with a window manager and a "
                    "session bus\n");
        return 1;
    }
    QProcess launcher;
    launcher.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
                   { QStringLiteral("--launch-immediately") });
    const QDeadlineTimer deadline(30000); // guards a launcher that never answers
    while (!busAnswers() && !deadline.hasExpired())
        QThread::msleep(50);
    if (!busAnswers()) {
        std::printf("the accessibility bus did not come up\n");
        return 1;
    }
    QTemporaryDir dir;
    QProcessEnvironment off = childEnvironment(dir);
    off.remove(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"));
    QProcessEnvironment on = off;
    on.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
    on.insert(QStringLiteral("QT_ACCESSIBILITY"), QStringLiteral("1"));
    const bool measured = measure("bridge off", off, watcher) && measure("bridge on", on, watcher);
    launcher.terminate();
    launcher.waitForFinished(5000);
    return measured ? 0 : 1;
}
