#include "platform/localchannel.h"
#include "realprogram.h"
#include "testenvironment.h"

#include <QDirIterator>
#include <QScreen>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The running program's socket as a stranger uses it, on a real X server:
// a flood of clients once took a descriptor each until the program froze in
// its X connection, and a start whose line was too long for one request
// ended with 0 while the running one dropped it.
class TestInstanceSocketX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    const QColor pictureColour { 200, 60, 160 };

    QString socketFile() const
    {
        QDirIterator it(env->path(QStringLiteral("run")), { QStringLiteral("*.sock") },
                        QDir::System | QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        return it.hasNext() ? it.next() : QString();
    }

    static int openDescriptors(qint64 pid)
    {
        return int(QDir(QStringLiteral("/proc/%1/fd").arg(pid))
                       .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                       .size());
    }

    // A client that is connected and says nothing, or -1 when the queue
    // takes no more.
    static int connectQuietly(const QByteArray &path)
    {
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
        if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0)
            return fd;
        ::close(fd);
        return -1;
    }

    // A picture of the screen's size in one colour.
    QString picture(const QString &strName) const
    {
        QImage image(QGuiApplication::primaryScreen()->geometry().size(), QImage::Format_RGB32);
        image.fill(pictureColour);
        const QString file = env->path(strName);
        return image.save(file) ? file : QString();
    }

    bool pictureShown() const
    {
        const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        for (const QPoint p : { QPoint(300, 300), QPoint(700, 500) })
            if (screen.pixelColor(p) != pictureColour)
                return false;
        return true;
    }

    int pagesOpened() const
    {
        return int(QDir(env->dataFolder() + QStringLiteral("/temp"))
                       .entryList({ QStringLiteral("page*.png") }, QDir::Files)
                       .size());
    }

    // A second start that hands one picture over: the running program
    // answers and shows it as a page.
    bool answersWithAPage(const QString &strName)
    {
        QProcess second;
        second.start(QStringLiteral(TAV_PROGRAM), { picture(strName) });
        return second.waitForFinished(15000) && second.exitCode() == 0
            && QTest::qWaitFor([this] { return pictureShown(); }, 15000);
    }

    // A start with these arguments is refused on its own side.
    static QByteArray refusal(const QStringList &arguments)
    {
        QProcess start;
        start.start(QStringLiteral(TAV_PROGRAM), arguments);
        if (!start.waitForFinished(30000) || start.exitCode() != 2)
            return QByteArray();
        return start.readAllStandardError();
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    // Thousands of clients that connect and close, with more that stay
    // silent than the program holds at once.
    void floodsLeaveTheProgramAnswering()
    {
        RealProgram program(*env);
        QVERIFY(program.start({}));
        QVERIFY2(!program.toolbar().isEmpty(), "the toolbar never showed");
        const QByteArray socket = QFile::encodeName(socketFile());
        QVERIFY(!socket.isEmpty());
        const qint64 pid = program.program.processId();
        const int idle = openDescriptors(pid);
        std::vector<int> silent;
        for (int i = 0; i < 3 * LocalChannel::MaxPeers; ++i)
            silent.push_back(connectQuietly(socket));
        QCOMPARE(std::count(silent.cbegin(), silent.cend(), -1), 0);
        QTRY_VERIFY(openDescriptors(pid) >= idle + LocalChannel::MaxPeers);
        int most = 0;
        for (int i = 0; i < 20000; ++i) {
            const int fd = connectQuietly(socket);
            if (fd >= 0)
                ::close(fd);
            if (i % 100 == 0)
                most = qMax(most, openDescriptors(pid));
        }
        for (int fd : silent)
            ::close(fd);
        qInfo("descriptors: %d idle, at most %d during the flood", idle, most);
        // Room for what the program opens on its own meanwhile.
        QVERIFY2(most <= idle + LocalChannel::MaxPeers + 8, qPrintable(QString::number(most)));
        QVERIFY(answersWithAPage(QStringLiteral("after-flood.png")));
        QTRY_COMPARE(pagesOpened(), 1);
    }

    // Lines past one request, of pictures or of actions, are refused by the
    // start with a reason; the running program gets nothing and still answers.
    void overlongLinesAreRefusedByTheStart()
    {
        RealProgram program(*env);
        QVERIFY(program.start({}));
        QVERIFY2(!program.toolbar().isEmpty(), "the toolbar never showed");
        const QString many = env->path(QStringLiteral("many"));
        QVERIFY(QDir().mkpath(many));
        const QString one = picture(QStringLiteral("many/a-picture-of-the-lesson-0000.png"));
        QStringList pictures;
        for (int i = 0; i < 2600; ++i) {
            pictures.append(many
                            + QStringLiteral("/a-picture-of-the-lesson-%1.png")
                                  .arg(i, 4, 10, QLatin1Char('0')));
            QVERIFY(i == 0 || QFile::copy(one, pictures.last()));
        }
        const QByteArray files = refusal(pictures);
        QVERIFY2(files.contains("too many for one start"), files.constData());
        QStringList actions;
        for (int i = 0; i < 7000; ++i)
            actions << QStringLiteral("-a") << QStringLiteral("new-page");
        const QByteArray told = refusal(actions);
        QVERIFY2(told.contains("too many for one start"), told.constData());
        QVERIFY(answersWithAPage(QStringLiteral("after-refusals.png")));
        QTRY_COMPARE(pagesOpened(), 1);
    }
};

QTEST_MAIN(TestInstanceSocketX11)
#include "test_instancesocket_x11.moc"
