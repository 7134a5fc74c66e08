// Start-up time, start-up CPU, idle memory and idle CPU of the program beside
// a minimal Qt Widgets program showing a dozen buttons, both started as child
// processes on the X server named by DISPLAY (one with a window manager).
// Start-up is the time from starting the process to the X server mapping its
// window, seen from here through the root window's substructure events.
#include "mapwatcher.h"
#include "procstats.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <vector>

using namespace ProcStats;

namespace {
const int rounds = 7;
const int settleMs = 1000;
const int idleMs = 30000;

struct Program
{
    const char *name;
    QString path;
    QByteArray title;
    std::vector<double> startMs, cpuMs, rssMb;
};

bool runOnce(Program &program, MapWatcher &watcher, const QProcessEnvironment &env, bool keep)
{
    QProcess process;
    process.setProcessEnvironment(env);
    const Start started = start(process, program.path, program.title, watcher);
    if (started.ms < 0) {
        std::printf("%s: no window titled \"%s\" was mapped\n", program.name,
                    program.title.constData());
        stop(process);
        return false;
    }
    QThread::msleep(settleMs); // idle means nothing to wait for
    if (keep) {
        program.startMs.push_back(started.ms);
        program.cpuMs.push_back(started.cpuMs);
        program.rssMb.push_back(rssMb(process.processId()));
    }
    return stop(process);
}

// Both programs shown side by side for `idleMs`, nothing happening.
void measureIdle(Program &real, Program &minimal, MapWatcher &watcher,
                 const QProcessEnvironment &env)
{
    QProcess processes[2];
    Program *programs[2] = { &real, &minimal };
    Tasks before[2];
    for (int i = 0; i < 2; ++i) {
        processes[i].setProcessEnvironment(env);
        start(processes[i], programs[i]->path, programs[i]->title, watcher);
    }
    QThread::msleep(settleMs);
    for (int i = 0; i < 2; ++i)
        before[i] = tasks(processes[i].processId());
    QThread::msleep(idleMs); // the idle period itself is the measurement
    for (int i = 0; i < 2; ++i) {
        const Scheduled used = growth(before[i], tasks(processes[i].processId()));
        std::printf("idle CPU over %d s, %-16s %7.3f ms in %.0f runs%s\n", idleMs / 1000,
                    programs[i]->name, used.ms, used.runs, i == 0 ? "  (target under 10 ms)" : "");
        stop(processes[i]);
    }
}

void line(const char *what, const char *unit, const std::vector<double> &real,
          const std::vector<double> &minimal, double target)
{
    const double value = median(real), base = median(minimal);
    std::printf("%-26s program %7.1f %s (%.1f-%.1f)   minimal Qt %7.1f %s (%.1f-%.1f)   ratio "
                "%.2f",
                what, value, unit, lowest(real), highest(real), base, unit, lowest(minimal),
                highest(minimal), value / base);
    if (target > 0)
        std::printf(" (target at most %.2f)", target);
    std::printf("\n");
}

void report(const Program &real, const Program &minimal)
{
    std::printf("medians (and spread) of %d starts each, interleaved, after one warm-up start\n",
                rounds);
    line("start-up to mapped window:", "ms", real.startMs, minimal.startMs, 1.15);
    line("CPU until mapped:", "ms", real.cpuMs, minimal.cpuMs, 0);
    line("idle memory (VmRSS):", "MB", real.rssMb, minimal.rssMb, 1.15);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MapWatcher watcher;
    if (!watcher.connected()) {
        std::printf("bench_startup needs an X server (DISPLAY) with a window manager\n");
        return 1;
    }
    QTemporaryDir dir;
    const QProcessEnvironment env = childEnvironment(dir);
    Program real { "program", QStringLiteral(TAV_PROGRAM), "Quillbury Tavelmark", {}, {}, {} };
    Program minimal { "minimal Qt", QStringLiteral(TAV_MINIMAL), "Minimal Toolbar", {}, {}, {} };
    // The warm-up start creates the settings and fills the file caches.
    for (int round = 0; round <= rounds; ++round)
        for (Program *program : { &real, &minimal })
            if (!runOnce(*program, watcher, env, round > 0))
                return 1;
    report(real, minimal);
    measureIdle(real, minimal, watcher, env);
    return 0;
}
