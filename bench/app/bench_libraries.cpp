// What each library the program links costs at every start: the minimal Qt
// Widgets window of bench_startup, and the same program linked with one more
// library each (linked whether used or not), started in turn on the X server
// named by DISPLAY. Each row prints start-up to the mapped window, the CPU
// used until then and the idle memory, beside the minimal window's.
#include "mapwatcher.h"
#include "procstats.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <vector>

using namespace ProcStats;

namespace {
const int rounds = 9;
const int settleMs = 500;

struct Variant
{
    QString name;
    // The library that must be mapped in the child for the row to count.
    QString library;
    QString path;
    std::vector<double> startMs, cpuMs, rssMb;
    bool alreadyInBaseline = false;
};

std::vector<Variant> variants()
{
    const QDir here(QCoreApplication::applicationDirPath());
    std::vector<Variant> list;
    list.push_back({ QStringLiteral("minimal Qt"),
                     QStringLiteral("libQt6Widgets"),
                     here.filePath(QStringLiteral("minimal_toolbar")),
                     {},
                     {},
                     {} });
    const QStringList extra {
        QStringLiteral("Network=libQt6Network"), QStringLiteral("Xml=libQt6Xml"),
        QStringLiteral("Svg=libQt6Svg"),         QStringLiteral("QuaZip=libquazip1-qt6"),
        QStringLiteral("DBus=libQt6DBus"),       QStringLiteral("XCB=libxcb-keysyms"),
        QStringLiteral("all=libquazip1-qt6")
    };
    for (const QString &entry : extra) {
        const QString name = entry.section(QLatin1Char('='), 0, 0);
        list.push_back({ name,
                         entry.section(QLatin1Char('='), 1),
                         here.filePath(QStringLiteral("minimal_with_") + name),
                         {},
                         {},
                         {} });
    }
    return list;
}

bool runOnce(Variant &variant, MapWatcher &watcher, const QProcessEnvironment &env, bool keep)
{
    QProcess process;
    process.setProcessEnvironment(env);
    const Start started = start(process, variant.path, "Minimal Toolbar", watcher);
    if (started.ms < 0) {
        std::printf("%s: no window was mapped\n", qPrintable(variant.path));
        stop(process);
        return false;
    }
    QThread::msleep(settleMs); // memory is read once the start has settled
    const qint64 pid = process.processId();
    if (!maps(pid, variant.library)) {
        std::printf("%s does not load %s\n", qPrintable(variant.path), qPrintable(variant.library));
        stop(process);
        return false;
    }
    if (keep) {
        variant.startMs.push_back(started.ms);
        variant.cpuMs.push_back(started.cpuMs);
        variant.rssMb.push_back(rssMb(pid));
    }
    return stop(process);
}

// Marks the libraries that the minimal window loads by itself (through Qt's
// own libraries or its platform plugin): linking them costs nothing.
bool markBaselineLibraries(std::vector<Variant> &list, MapWatcher &watcher,
                           const QProcessEnvironment &env)
{
    QProcess process;
    process.setProcessEnvironment(env);
    if (start(process, list.front().path, "Minimal Toolbar", watcher).ms < 0)
        return false;
    QThread::msleep(settleMs);
    for (Variant &v : list)
        v.alreadyInBaseline = maps(process.processId(), v.library);
    return stop(process);
}

void report(const std::vector<Variant> &list)
{
    const Variant &base = list.front();
    const double startBase = median(base.startMs), cpuBase = median(base.cpuMs),
                 rssBase = median(base.rssMb);
    std::printf("medians (and spread) of %d starts each, interleaved, after one warm-up start\n",
                rounds);
    std::printf("%-11s %20s %8s %20s %8s %18s %7s\n", "linked", "start-up ms", "extra", "CPU ms",
                "extra", "VmRSS MB", "extra");
    for (const Variant &v : list) {
        std::printf(
            "%-11s %7.1f (%5.1f-%5.1f) %+8.1f %7.1f (%5.1f-%5.1f) %+8.1f %6.1f (%4.1f-%4.1f) "
            "%+7.2f%s\n",
            qPrintable(v.name), median(v.startMs), lowest(v.startMs), highest(v.startMs),
            median(v.startMs) - startBase, median(v.cpuMs), lowest(v.cpuMs), highest(v.cpuMs),
            median(v.cpuMs) - cpuBase, median(v.rssMb), lowest(v.rssMb), highest(v.rssMb),
            median(v.rssMb) - rssBase,
            &v != &base && v.alreadyInBaseline ? "  (the minimal window loads it too)" : "");
    }
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    MapWatcher watcher;
    if (!watcher.connected()) {
        std::printf("bench_libraries needs an X server (DISPLAY)\n");
        return 1;
    }
    QTemporaryDir dir;
    const QProcessEnvironment env = childEnvironment(dir);
    std::vector<Variant> list = variants();
    // The warm-up round creates the settings and fills the file caches.
    for (int round = 0; round <= rounds; ++round)
        for (Variant &v : list)
            if (!runOnce(v, watcher, env, round > 0))
                return 1;
    if (!markBaselineLibraries(list, watcher, env))
        return 1;
    report(list);
    return 0;
}
