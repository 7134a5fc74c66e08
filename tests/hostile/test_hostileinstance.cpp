#include "app/mainapp.h"
#include "app/singleinstancepaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <sys/mount.h>

// The test process is a first instance; hostile clients talk to its socket,
// and the real program is started against blocked locks.
class TestHostileInstance : public QObject
{
    Q_OBJECT
public:
    explicit TestHostileInstance(MainApp *app)
        : app(app)
    {
    }

private:
    MainApp *app;
    QTemporaryDir root;

    QString ownSocket() const
    {
        return SingleInstancePaths(app->key(), SingleInstancePaths::folders().value(0))
            .socketFile();
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

    std::unique_ptr<QProcess> start(const QString &strDataHome, const QString &strRuntime)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), strDataHome);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), strRuntime);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TAV_PLATFORM"), QStringLiteral("null"));
        process->setProcessEnvironment(env);
        process->setReadChannel(QProcess::StandardError);
        process->start(QStringLiteral(TAV_PROGRAM), {});
        return process;
    }

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

private Q_SLOTS:
    // A folder or a foreign file where the lock belongs used to make every
    // start end silently.
    void blockedLocksNeverPreventAStart()
    {
        const QString home = root.filePath(QStringLiteral("home"));
        const QString runtime = root.filePath(QStringLiteral("run"));
        QVERIFY(QDir().mkpath(runtime));
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QString lock = lockFor(home, runtime);
        QVERIFY(QDir().mkpath(lock));
        checkOneInstance(home, runtime);

        QVERIFY(QDir(lock).removeRecursively());
        QVERIFY(QFile::link(root.filePath(QStringLiteral("nowhere/lock")), lock));
        checkOneInstance(home, runtime);
    }

    // A runtime folder where nothing can be created: the data folder holds
    // the lock instead of several instances running side by side.
    void unwritableRuntimeFolderFallsBack()
    {
        const QString home = root.filePath(QStringLiteral("home2"));
        const QString runtime = root.filePath(QStringLiteral("readonly"));
        QVERIFY(QDir().mkpath(runtime));
        if (::mount("tmpfs", QFile::encodeName(runtime).constData(), "tmpfs", MS_RDONLY,
                    "mode=0700")
            != 0)
            QSKIP("A read-only folder needs a mount, which is refused here.");
        checkOneInstance(home, runtime);
        ::umount2(QFile::encodeName(runtime).constData(), MNT_DETACH);
    }

    // A client that trickles or floods is dropped; the event loop never waits on it.
    void hostileClientsNeverBlock()
    {
        QSignalSpy messages(app, &MainApp::signal_MessageAvailable);
        QLocalSocket trickle;
        trickle.connectToServer(ownSocket());
        QVERIFY(trickle.waitForConnected(3000));
        QTimer drip;
        connect(&drip, &QTimer::timeout, &trickle, [&trickle] { trickle.write("x"); });
        drip.start(300);
        QElapsedTimer timer;
        timer.start();
        qint64 longestGap = 0;
        qint64 last = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, this, [&] {
            longestGap = qMax(longestGap, timer.elapsed() - last);
            last = timer.elapsed();
        });
        beat.start(20);
        QSignalSpy dropped(&trickle, &QLocalSocket::disconnected);
        QVERIFY(dropped.wait(MainApp::MessageDeadlineMs + 3000));
        QVERIFY(timer.elapsed() >= MainApp::MessageDeadlineMs - 100);
        QVERIFY2(longestGap < 400, qPrintable(QString::number(longestGap)));
        QCOMPARE(messages.count(), 0);

        QLocalSocket flood;
        flood.connectToServer(ownSocket());
        QVERIFY(flood.waitForConnected(3000));
        flood.write(QByteArray(MainApp::MaxMessageBytes * 4, 'y'));
        QSignalSpy floodDropped(&flood, &QLocalSocket::disconnected);
        QVERIFY(floodDropped.wait(3000));
        QCOMPARE(messages.count(), 0);

        // A well-behaved client is still heard.
        QLocalSocket polite;
        polite.connectToServer(ownSocket());
        QVERIFY(polite.waitForConnected(3000));
        polite.write("Quillbury Tavelmark");
        polite.disconnectFromServer();
        QTRY_COMPARE(messages.count(), 1);
        QCOMPARE(messages.at(0).at(0).toString(), QStringLiteral("Quillbury Tavelmark"));
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
    TestHostileInstance test(&app);
    return QTest::qExec(&test, argc, argv);
}

#include "test_hostileinstance.moc"
