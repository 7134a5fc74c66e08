// Start-up time, idle memory and idle CPU of the program beside a minimal Qt
// Widgets program showing a dozen buttons, both started as child processes
// on the X server named by DISPLAY (one with a window manager). Start-up is
// the time from starting the process to the X server mapping its window,
// seen from here through the root window's substructure events.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>

#include <xcb/xcb.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
const int rounds = 7;
const int settleMs = 1000;
const int idleMs = 30000;
const int mapTimeoutMs = 20000;

struct Program
{
    const char *name;
    QString path;
    QByteArray title;
    std::vector<double> startMs, rssMb;
};

double median(std::vector<double> v)
{
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

// Watches the root window for top-level windows being mapped.
class MapWatcher
{
public:
    MapWatcher()
        : connection(xcb_connect(nullptr, nullptr))
    {
        if (xcb_connection_has_error(connection))
            return;
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection);
    }
    ~MapWatcher() { xcb_disconnect(connection); }

    bool connected() const { return root != 0; }

    // Forgets events of earlier programs.
    void drain()
    {
        sync();
        while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
            std::free(event);
    }

    // Blocks until a window titled `title` becomes viewable: its window
    // manager frame is mapped, or the window itself when nothing reparents it.
    bool waitForMap(const QByteArray &title)
    {
        QSet<xcb_window_t> frames;
        QElapsedTimer limit;
        limit.start();
        while (!limit.hasExpired(mapTimeoutMs) && !xcb_connection_has_error(connection)) {
            xcb_generic_event_t *event = xcb_poll_for_event(connection);
            if (!event) {
                pollfd fd { xcb_get_file_descriptor(connection), POLLIN, 0 };
                poll(&fd, 1, int(mapTimeoutMs - limit.elapsed()));
                continue;
            }
            const bool mapped = isMapOf(event, title, frames);
            std::free(event);
            if (mapped)
                return true;
        }
        return false;
    }

private:
    // A round trip: every event caused before it has arrived after it.
    void sync()
    {
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    }

    bool isMapOf(xcb_generic_event_t *event, const QByteArray &title, QSet<xcb_window_t> &frames)
    {
        switch (event->response_type & ~0x80) {
        case XCB_REPARENT_NOTIFY: {
            const auto *e = reinterpret_cast<xcb_reparent_notify_event_t *>(event);
            if (titleOf(e->window) == title)
                frames.insert(e->parent);
            return false;
        }
        case XCB_MAP_NOTIFY: {
            const auto *e = reinterpret_cast<xcb_map_notify_event_t *>(event);
            return frames.contains(e->window) || titleOf(e->window) == title;
        }
        default:
            return false;
        }
    }

    QByteArray titleOf(xcb_window_t window)
    {
        xcb_get_property_reply_t *reply
            = xcb_get_property_reply(connection,
                                     xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                                      XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                     nullptr);
        if (!reply)
            return QByteArray();
        const QByteArray title(static_cast<const char *>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        std::free(reply);
        return title;
    }

    xcb_connection_t *connection;
    xcb_window_t root = 0;
};

// A private data, settings and runtime folder for the children.
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

// VmRSS from /proc/<pid>/status.
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

// utime + stime of all threads, in milliseconds.
double cpuMs(qint64 pid)
{
    QFile file(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = file.readAll();
    // The command name may hold spaces; fields count from after its ')'.
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const double ticks = fields.at(11).toDouble() + fields.at(12).toDouble();
    return ticks * 1000 / sysconf(_SC_CLK_TCK);
}

// CPU time of all threads from the scheduler, in milliseconds (finer than
// the clock ticks of stat), and how many times they were scheduled.
struct Scheduled
{
    double ms = 0;
    double runs = 0;
};

Scheduled scheduled(qint64 pid)
{
    Scheduled sum;
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile file(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (!file.open(QIODevice::ReadOnly))
            continue;
        const QList<QByteArray> fields = file.readAll().trimmed().split(' ');
        sum.ms += fields.at(0).toDouble() / 1e6;
        sum.runs += fields.at(2).toDouble();
    }
    return sum;
}

// Starts `program` and returns the milliseconds until its window is mapped,
// or -1.
double start(QProcess &process, const Program &program, MapWatcher &watcher)
{
    watcher.drain();
    process.setProgram(program.path);
    QElapsedTimer timer;
    timer.start();
    process.start();
    if (!process.waitForStarted() || !watcher.waitForMap(program.title))
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

// SIGTERM; the program saves and exits by itself.
bool stop(QProcess &process)
{
    process.terminate();
    return process.waitForFinished(10000);
}

bool runOnce(Program &program, MapWatcher &watcher, const QProcessEnvironment &env, bool keep)
{
    QProcess process;
    process.setProcessEnvironment(env);
    const double ms = start(process, program, watcher);
    if (ms < 0) {
        std::printf("%s: no window titled \"%s\" was mapped\n", program.name,
                    program.title.constData());
        stop(process);
        return false;
    }
    QThread::msleep(settleMs); // idle means nothing to wait for
    if (keep) {
        program.startMs.push_back(ms);
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
    double ticksBefore[2];
    Scheduled before[2];
    for (int i = 0; i < 2; ++i) {
        processes[i].setProcessEnvironment(env);
        start(processes[i], *programs[i], watcher);
    }
    QThread::msleep(settleMs);
    for (int i = 0; i < 2; ++i) {
        ticksBefore[i] = cpuMs(processes[i].processId());
        before[i] = scheduled(processes[i].processId());
    }
    QThread::msleep(idleMs); // the idle period itself is the measurement
    for (int i = 0; i < 2; ++i) {
        const double ticks = cpuMs(processes[i].processId()) - ticksBefore[i];
        const Scheduled after = scheduled(processes[i].processId());
        std::printf("idle CPU over %d s, %-16s utime+stime %6.1f ms  (scheduler %.3f ms in %.0f "
                    "runs)%s\n",
                    idleMs / 1000, programs[i]->name, ticks, after.ms - before[i].ms,
                    after.runs - before[i].runs, i == 0 ? "  target under 10 ms" : "");
        stop(processes[i]);
    }
}

void report(const Program &real, const Program &minimal)
{
    const double start = median(real.startMs), startBase = median(minimal.startMs);
    const double rss = median(real.rssMb), rssBase = median(minimal.rssMb);
    std::printf("medians of %d starts each, interleaved, after one warm-up start\n", rounds);
    std::printf("start-up to mapped window: %-16s %7.1f ms   %s %7.1f ms   ratio %.2f (target at "
                "most 1.25)\n",
                real.name, start, minimal.name, startBase, start / startBase);
    std::printf("idle memory (VmRSS):       %-16s %7.1f MB   %s %7.1f MB   ratio %.2f (target at "
                "most 1.2)\n",
                real.name, rss, minimal.name, rssBase, rss / rssBase);
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
    Program real { "program", QStringLiteral(TAV_PROGRAM), "Quillbury Tavelmark", {}, {} };
    Program minimal { "minimal Qt", QStringLiteral(TAV_MINIMAL), "Minimal Toolbar", {}, {} };
    // The warm-up start creates the settings and fills the file caches.
    for (int round = 0; round <= rounds; ++round)
        for (Program *program : { &real, &minimal })
            if (!runOnce(*program, watcher, env, round > 0))
                return 1;
    report(real, minimal);
    measureIdle(real, minimal, watcher, env);
    return 0;
}
