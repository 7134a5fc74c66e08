#include "app/mainapp.h"
#include "app/singleinstancepaths.h"

#include <QDir>
#include <QLocalSocket>
#include <QProcess>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

// The test process itself is a first instance (its own data folder); the real
// program is started beside it, as second starts and as first instances of
// another data folder.
class TestSingleInstance : public QObject
{
    Q_OBJECT
public:
    explicit TestSingleInstance(MainApp *app)
        : app(app)
    {
    }

    static QString firstHome() { return qEnvironmentVariable("XDG_DATA_HOME"); }

private:
    MainApp *app;
    QTemporaryDir otherHome;

    std::unique_ptr<QProcess> start(const QString &strDataHome, const QString &strRuntime = {},
                                    const QStringList &arguments = {})
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), strDataHome);
        if (!strRuntime.isEmpty())
            env.insert(QStringLiteral("XDG_RUNTIME_DIR"), strRuntime);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TAV_PLATFORM"), QStringLiteral("null"));
        process->setProcessEnvironment(env);
        // The diagnostics come on stderr; waitForReadyRead watches this channel.
        process->setReadChannel(QProcess::StandardError);
        process->start(QStringLiteral(TAV_PROGRAM), arguments);
        return process;
    }

    // Reads the program's diagnostics until a line starting with strPrefix
    // arrives; false when the process ends first or nothing comes in time.
    static bool waitForLine(QProcess *process, const char *prefix, QByteArray *log)
    {
        QDeadlineTimer deadline(15000);
        while (!deadline.hasExpired()) {
            *log += process->readAllStandardError();
            for (const QByteArray &line : log->split('\n'))
                if (line.startsWith(prefix))
                    return true;
            if (process->state() == QProcess::NotRunning)
                return false;
            process->waitForReadyRead(int(deadline.remainingTime()));
        }
        return false;
    }

    // Starts the program and waits until it is the listening first instance;
    // null when it did not become one.
    std::unique_ptr<QProcess> startFirst(const QString &strDataHome)
    {
        auto process = start(strDataHome);
        QByteArray log;
        if (waitForLine(process.get(), "Listening:", &log))
            return process;
        qWarning() << "no first instance:" << log;
        return nullptr;
    }

    // The lock file the program uses for a data home and runtime folder.
    static QString lockFor(const QString &strDataHome, const QString &strRuntime)
    {
        const QByteArray saved = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", strDataHome.toLocal8Bit());
        const QString key
            = QStringLiteral("Quillbury Tavelmark-%1")
                  .arg(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
        qputenv("XDG_DATA_HOME", saved);
        return SingleInstancePaths(key, strRuntime).lockFile();
    }

    // A first start comes up listening (elsewhere when the lock is blocked);
    // a second start reaches it and ends.
    void checkOneInstance(const QString &strHome, const QString &strRuntime)
    {
        auto first = start(strHome, strRuntime);
        QByteArray log;
        QVERIFY2(waitForLine(first.get(), "Listening:", &log), log.constData());
        auto second = start(strHome, strRuntime);
        QVERIFY(second->waitForFinished(15000));
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(second->readAllStandardError().contains("Has one instance."));
        QCOMPARE(first->state(), QProcess::Running);
        first->terminate();
        QVERIFY(first->waitForFinished(15000));
    }

    void checkSimultaneousStarts()
    {
        auto crashed = startFirst(otherHome.path());
        QVERIFY(crashed);
        crashed->kill();
        QVERIFY(crashed->waitForFinished(10000));

        std::vector<std::unique_ptr<QProcess>> starts;
        int finished = 0;
        for (int i = 0; i < 6; ++i) {
            starts.push_back(start(otherHome.path()));
            connect(starts.back().get(), &QProcess::finished, this,
                    [&finished](int exitCode) { finished += exitCode == 0 ? 1 : 100; });
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished, 5, 20000);
        QProcess *survivor = nullptr;
        for (auto &process : starts) {
            if (process->state() == QProcess::Running)
                survivor = process.get();
        }
        QVERIFY(survivor);
        QByteArray log;
        QVERIFY(waitForLine(survivor, "Listening:", &log));
        survivor->terminate();
        QVERIFY(survivor->waitForFinished(15000));
    }

private Q_SLOTS:
    void secondStartWakesTheFirst()
    {
        QVERIFY(!app->isRunning());
        QSignalSpy messages(app, &MainApp::signal_MessageAvailable);
        auto second = start(firstHome());
        QSignalSpy finished(second.get(), &QProcess::finished);
        QVERIFY(finished.wait(15000));
        QCOMPARE(second->exitStatus(), QProcess::NormalExit);
        QCOMPARE(second->exitCode(), 0);
        QVERIFY(second->readAllStandardError().contains("Has one instance."));
        QTRY_COMPARE(messages.count(), 1);
        QVERIFY(messages.at(0).at(0).value<InstanceRequest>().isEmpty());
        // The second start made no folders or settings of its own.
        QVERIFY(!QFile::exists(firstHome() + QStringLiteral("/Quillbury/Tavelmark/Setting.ini")));
    }

    // Actions reach the running instance; a start with an unknown one sends
    // nothing (the next request is the first to arrive) and says why.
    void actionsReachTheRunningInstance()
    {
        QSignalSpy messages(app, &MainApp::signal_MessageAvailable);
        auto refused
            = start(firstHome(), {}, { QStringLiteral("--action"), QStringLiteral("fly") });
        QVERIFY(refused->waitForFinished(15000));
        QCOMPARE(refused->exitCode(), 2);
        QVERIFY(refused->readAllStandardError().contains("Unknown action: fly"));

        auto second = start(firstHome(), {},
                            { QStringLiteral("--action"), QStringLiteral("capture-region"),
                              QStringLiteral("-a"), QStringLiteral("undo") });
        QVERIFY(second->waitForFinished(15000));
        QCOMPARE(second->exitCode(), 0);
        QTRY_COMPARE(messages.count(), 1);
        QCOMPARE(messages.at(0).at(0).value<InstanceRequest>().actions,
                 QStringList({ QStringLiteral("capture-region"), QStringLiteral("undo") }));
    }

    // Help and version are answered on the spot: no lock, no socket, no window.
    void helpAndVersionTouchNothing()
    {
        QTemporaryDir home;
        QTemporaryDir runtime;
        for (const char *option : { "--help", "--version" }) {
            auto process = start(home.path(), runtime.path(), { QLatin1String(option) });
            QVERIFY(process->waitForFinished(15000));
            QCOMPARE(process->exitCode(), 0);
            QVERIFY(process->readAllStandardOutput().contains("Tavelmark"));
            QVERIFY(QDir(runtime.path())
                        .isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden
                                 | QDir::System));
            QVERIFY(QDir(home.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
        }
    }

    void crashedInstanceNeverPreventsAStart()
    {
        auto current = startFirst(otherHome.path());
        QVERIFY(current);
        for (int round = 0; round < 3; ++round) {
            current->kill();
            QVERIFY(current->waitForFinished(10000));
            current = startFirst(otherHome.path());
            QVERIFY(current);
        }
        current->terminate();
        QVERIFY(current->waitForFinished(15000));
        QCOMPARE(current->exitCode(), 0);
        // A polite end closes like Exit: settings written, temporary folder gone.
        const QString data = otherHome.path() + QStringLiteral("/Quillbury/Tavelmark");
        QSettings ini(data + QStringLiteral("/Setting.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value(QStringLiteral("UserInterface/Language")).toString(),
                 QStringLiteral("en_GB"));
        QVERIFY(!QFile::exists(data + QStringLiteral("/temp")));
    }

    // Starts that find a dead holder's lock at the same moment once removed
    // each other's fresh lock and ran side by side.
    void simultaneousStartsGiveOneFirstInstance()
    {
        for (int round = 0; round < 3; ++round)
            checkSimultaneousStarts();
    }

    // A folder or a dangling link where the lock belongs used to make every
    // start end silently; an unwritable runtime folder let instances run side
    // by side. The data folder holds the lock then.
    void blockedLocksNeverPreventAStart()
    {
        const QString home = otherHome.filePath(QStringLiteral("blocked"));
        const QString runtime = otherHome.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString lock = lockFor(home, runtime);
        QVERIFY(QDir().mkpath(lock));
        checkOneInstance(home, runtime);
        QVERIFY(QDir(lock).removeRecursively());
        QVERIFY(QFile::link(otherHome.filePath(QStringLiteral("nowhere/lock")), lock));
        checkOneInstance(home, runtime);

        const QString readOnly = otherHome.filePath(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(readOnly));
        const QByteArray mountPoint = QFile::encodeName(readOnly);
        if (::mount("tmpfs", mountPoint.constData(), "tmpfs", MS_RDONLY, "mode=0700") != 0)
            QSKIP("A read-only folder needs a mount, which is refused here.");
        checkOneInstance(home, readOnly);
        ::umount2(mountPoint.constData(), MNT_DETACH);
    }

    // A client that trickles or floods is dropped; the event loop never waits on it.
    void hostileClientsNeverBlock()
    {
        const QString socket
            = SingleInstancePaths(app->key(), SingleInstancePaths::folders().value(0)).socketFile();
        QSignalSpy messages(app, &MainApp::signal_MessageAvailable);
        QLocalSocket trickle;
        trickle.connectToServer(socket);
        QVERIFY(trickle.waitForConnected(3000));
        QTimer drip;
        // A frame of ours, one byte at a time: never whole before the deadline.
        InstanceRequest slow;
        slow.actions = { QStringLiteral("pen") };
        QByteArray frame = slow.encode();
        connect(&drip, &QTimer::timeout, &trickle, [&trickle, &frame] {
            trickle.write(frame.left(1));
            frame.remove(0, 1);
        });
        drip.start(300);
        const qsizetype whole = frame.size();
        QSignalSpy dropped(&trickle, &QLocalSocket::disconnected);
        QVERIFY(dropped.wait(MainApp::MessageDeadlineMs + 3000));
        // The drip runs on this thread too: a server that waited for the
        // rest of the frame would have let no second byte through.
        QVERIFY2(whole - frame.size() >= 2, qPrintable(QString::number(whole - frame.size())));
        QVERIFY(frame.size() > 0);

        // Garbage goes at once, not at the deadline.
        QLocalSocket garbage;
        garbage.connectToServer(socket);
        QVERIFY(garbage.waitForConnected(3000));
        QSignalSpy garbageDropped(&garbage, &QLocalSocket::disconnected);
        garbage.write("GET / HTTP/1.0\r\n\r\n");
        QVERIFY(garbageDropped.wait(MainApp::MessageDeadlineMs - 500));

        // A client that says nothing is dropped at the deadline.
        QLocalSocket silent;
        silent.connectToServer(socket);
        QVERIFY(silent.waitForConnected(3000));
        QSignalSpy silentDropped(&silent, &QLocalSocket::disconnected);
        QVERIFY(silentDropped.wait(MainApp::MessageDeadlineMs + 3000));

        QLocalSocket flood;
        flood.connectToServer(socket);
        QVERIFY(flood.waitForConnected(3000));
        InstanceRequest huge;
        huge.files.append(QString(MainApp::MaxMessageBytes, QLatin1Char('y')));
        flood.write(huge.encode());
        QSignalSpy floodDropped(&flood, &QLocalSocket::disconnected);
        QVERIFY(floodDropped.wait(3000));
        QCOMPARE(messages.count(), 0);
    }

    // A name that is not UTF-8, as the system hands it over, is refused by
    // the start that got it, with exit status 2 and a reason; nothing is sent.
    void namesNotInUtf8AreRefused()
    {
        QSignalSpy messages(app, &MainApp::signal_MessageAvailable);
        QTemporaryDir pictures;
        const QByteArray name = QFile::encodeName(pictures.path()) + "/caf\xe9.png";
        QVERIFY(::close(::creat(name.constData(), 0600)) == 0);
        auto notUtf8 = std::make_unique<QProcess>();
        notUtf8->setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        // The name's bytes as the system hands them over, through a shell.
        notUtf8->start(QStringLiteral("sh"),
                       { QStringLiteral("-c"),
                         QStringLiteral("exec \"$0\" \"$1$(printf '\\351.png')\""),
                         QStringLiteral(TAV_PROGRAM), pictures.filePath(QStringLiteral("caf")) });
        QVERIFY(notUtf8->waitForFinished(15000));
        QCOMPARE(notUtf8->exitCode(), 2);
        QVERIFY(notUtf8->readAllStandardError().contains("is not valid UTF-8"));
        QCOMPARE(messages.count(), 0);
    }

    void installationPathRule()
    {
        const QString before = QDir::currentPath();
        QTemporaryDir exeDir;
        QTemporaryDir emptyDir;
        QTemporaryDir fullDir;
        QFile marker(fullDir.filePath(QStringLiteral("help.pdf")));
        QVERIFY(marker.open(QIODevice::WriteOnly));
        marker.close();

        QCOMPARE(MainApp::applyInstallationPath(QString(), exeDir.path()),
                 QDir(exeDir.path()).canonicalPath());
        QCOMPARE(MainApp::applyInstallationPath(fullDir.path(), exeDir.path()),
                 QDir(fullDir.path()).canonicalPath());
        // An empty or missing folder keeps the inherited working directory.
        QCOMPARE(MainApp::applyInstallationPath(emptyDir.path(), exeDir.path()),
                 QDir(fullDir.path()).canonicalPath());
        QCOMPARE(MainApp::applyInstallationPath(QStringLiteral("/no/such/folder"), exeDir.path()),
                 QDir(fullDir.path()).canonicalPath());
        QDir::setCurrent(before);
    }
};

int main(int argc, char *argv[])
{
    QTemporaryDir home;
    QTemporaryDir runtime;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QCoreApplication::setOrganizationName(QStringLiteral("Quillbury"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
    MainApp app(argc, argv);
    TestSingleInstance test(&app);
    return QTest::qExec(&test, argc, argv);
}

#include "test_singleinstance.moc"
