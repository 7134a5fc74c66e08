#include "procstats.h"

#include "mapwatcher.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>

namespace ProcStats {

QProcessEnvironment childEnvironment(const QTemporaryDir &dir)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    for (const char *name : { "XDG_DATA_HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME" })
        env.insert(QString::fromLatin1(name), dir.filePath(QString::fromLatin1(name)));
    const QString run = dir.filePath(QStringLiteral("run"));
    QDir().mkpath(run);
    QFile::setPermissions(run, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), run);
    return env;
}

double rssMb(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/status").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return -1;
}

Tasks tasks(qint64 pid)
{
    Tasks found;
    const QDir folder(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(folder.filePath(task + QStringLiteral("/schedstat")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = file.readAll().trimmed().split(' ');
        if (fields.size() >= 3)
            found.insert(task, { fields.at(0).toDouble() / 1e6, fields.at(2).toDouble() });
    }
    return found;
}

Scheduled scheduled(qint64 pid)
{
    return growth(Tasks(), tasks(pid));
}

Scheduled growth(const Tasks &before, const Tasks &after)
{
    Scheduled sum;
    for (auto it = after.begin(); it != after.end(); ++it) {
        const Scheduled start = before.value(it.key());
        sum.ms += it->ms - start.ms;
        sum.runs += it->runs - start.runs;
    }
    return sum;
}

Scheduled settled(qint64 pid, int stillMs, int limitMs)
{
    Scheduled last = scheduled(pid);
    QElapsedTimer still, limit;
    still.start();
    limit.start();
    while (!still.hasExpired(stillMs) && !limit.hasExpired(limitMs)) {
        QThread::msleep(20); // polling /proc: there is nothing to wait on
        const Scheduled now = scheduled(pid);
        if (now.ms != last.ms) {
            last = now;
            still.restart();
        }
    }
    return last;
}

bool maps(qint64 pid, const QString &prefix)
{
    QFile file(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const int slash = line.indexOf('/');
        if (slash >= 0
            && QFileInfo(QString::fromLocal8Bit(line.mid(slash))).fileName().startsWith(prefix))
            return true;
    }
    return false;
}

Start start(QProcess &process, const QString &path, const QByteArray &title, MapWatcher &watcher)
{
    Start result;
    watcher.drain();
    process.setProgram(path);
    QElapsedTimer timer;
    timer.start();
    process.start();
    if (!process.waitForStarted() || !watcher.waitForMap(title))
        return result;
    result.ms = timer.nsecsElapsed() / 1e6;
    result.cpuMs = scheduled(process.processId()).ms;
    return result;
}

bool stop(QProcess &process)
{
    process.terminate();
    return process.waitForFinished(10000);
}

double median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

double lowest(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::min_element(v.begin(), v.end());
}

double highest(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

} // namespace ProcStats
