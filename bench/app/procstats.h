#pragma once

#include <QHash>
#include <QProcessEnvironment>
#include <QString>

#include <vector>

class QProcess;
class QTemporaryDir;
class MapWatcher;

// What the start-up benchmarks read about a child process from /proc.
namespace ProcStats {

// CPU time as the scheduler counts it (nanoseconds in task/*/schedstat, far
// finer than the clock ticks of stat), and how many times it ran.
struct Scheduled
{
    double ms = 0;
    double runs = 0;
};
// Each live thread's count, by thread id.
using Tasks = QHash<QString, Scheduled>;

// One start: milliseconds from starting the process to its window being
// mapped, and the CPU it had used by then; negative when nothing was mapped.
struct Start
{
    double ms = -1;
    double cpuMs = -1;
};

// A private data, settings and runtime folder for the children.
QProcessEnvironment childEnvironment(const QTemporaryDir &dir);
// VmRSS from /proc/<pid>/status, in MB.
double rssMb(qint64 pid);
Tasks tasks(qint64 pid);
// The sum over the live threads.
Scheduled scheduled(qint64 pid);
// What the threads of `after` used since `before`. A thread that ended in
// between is missing from `after`, so its last moments are not counted;
// summing the totals instead would subtract all it ever used.
Scheduled growth(const Tasks &before, const Tasks &after);
// Waits until the process has used no CPU for `stillMs` (at most `limitMs`
// in all) and returns its total then, so that a measurement starts and ends
// with the work it caused, not in the middle of it.
Scheduled settled(qint64 pid, int stillMs = 300, int limitMs = 20000);
// Whether the process has a file whose name starts with `prefix` mapped.
bool maps(qint64 pid, const QString &prefix);
Start start(QProcess &process, const QString &path, const QByteArray &title, MapWatcher &watcher);
// SIGTERM; the programs measured end by themselves.
bool stop(QProcess &process);

double median(std::vector<double> v);
// The smallest and largest value, for the spread beside a median.
double lowest(const std::vector<double> &v);
double highest(const std::vector<double> &v);

} // namespace ProcStats
