#include "app/appstate.h"
#include "canvas/mainview.h"
#include "platform/platform.h"
#include "platform/waylandsession.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QScreen>
#include <QtTest>

#include <memory>

// Runs inside the headless Wayland desktop of wayland-session.sh, whose
// background is one green. With the screenshot portal (TAV_EXPECT_PORTAL=1)
// pictures of the screen show that green; without it every capture is
// refused with a message naming the portal, and the program still draws.
class TestWaylandSession : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    const bool portal = qEnvironmentVariable("TAV_EXPECT_PORTAL") == QLatin1String("1");

    static bool isBackground(const QColor &c)
    {
        return qAbs(c.red() - 0x10) <= 2 && qAbs(c.green() - 0xc8) <= 2
            && qAbs(c.blue() - 0x1e) <= 2;
    }

    static bool allBackground(const QImage &image)
    {
        for (int y = 0; y < image.height(); y += 7)
            for (int x = 0; x < image.width(); x += 7)
                if (!isBackground(image.pixelColor(x, y)))
                    return false;
        return !image.isNull();
    }

    QProcessEnvironment programEnvironment() const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.remove(QStringLiteral("TAV_PLATFORM"));
        e.remove(QStringLiteral("QT_QPA_PLATFORM"));
        e.insert(QStringLiteral("XDG_DATA_HOME"), env->dataHome());
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), env->path(QStringLiteral("run")));
        return e;
    }

    // A second start that hands its arguments over and ends.
    bool send(const QStringList &arguments) const
    {
        QProcess second;
        second.setProcessEnvironment(programEnvironment());
        second.start(QStringLiteral(TAV_PROGRAM), arguments);
        return second.waitForFinished(20000) && second.exitCode() == 0;
    }

    // Reads the program's diagnostics until one contains the text.
    static bool waitForLog(QProcess &program, const char *text, QByteArray *log)
    {
        QDeadlineTimer deadline(30000);
        while (!deadline.hasExpired()) {
            *log += program.readAllStandardError();
            if (log->contains(text))
                return true;
            if (program.state() == QProcess::NotRunning)
                return false;
            program.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
        }
        return false;
    }

    QStringList backgrounds() const
    {
        return QDir(env->dataFolder() + QStringLiteral("/temp"))
            .entryList({ QStringLiteral("page*.png") }, QDir::Files, QDir::Name);
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(env->dataFolder());
        QVERIFY(writeFile(env->dataFolder() + QStringLiteral("/Setting.ini"),
                          "[UserInterface]\nLanguage=en_GB\nCaptureDelay=200\nShowTrayIcon=0\n"));
    }
    void cleanup() { env.reset(); }

    // Windows go through XWayland; pictures come from the Wayland side.
    void sessionIsSeenForWhatItIs()
    {
        QVERIFY(WaylandSession::detected());
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        QVERIFY(Platform::instance().name().startsWith(QStringLiteral("wayland/")));
        QVERIFY(!Platform::instance().canPickWindows());
        QVERIFY(!Platform::instance().hotKeyAdvice().isEmpty());
        // A Wayland compositor composes XWayland's windows: live desktop works.
        QVERIFY(Platform::instance().isCompositionAvailable());
    }

    void regionCaptureShowsTheDesktop()
    {
        MainView view;
        const QPixmap region = view.grabDesktopRect(QRect(100, 120, 300, 200));
        if (!portal) {
            QVERIFY(region.isNull());
            QVERIFY2(Platform::instance().grabRefusal().contains(
                         QStringLiteral("org.freedesktop.portal.Screenshot")),
                     qPrintable(Platform::instance().grabRefusal()));
            return;
        }
        QVERIFY2(!region.isNull(), qPrintable(Platform::instance().grabRefusal()));
        QCOMPARE(region.size(), QSize(300, 200));
        QVERIFY(allBackground(region.toImage()));
        // What an X grab sees here is not the desktop: the portal was needed.
        const QImage x11 = QGuiApplication::primaryScreen()->grabWindow(0).toImage();
        QVERIFY(!allBackground(x11));
    }

    // The real program, driven only by its command line as a desktop
    // shortcut would: Pen captures the desktop into a page, Quit ends it.
    void actionsDriveTheProgram()
    {
        QProcess program;
        program.setProcessEnvironment(programEnvironment());
        // The diagnostics come on stderr; waitForReadyRead watches this channel.
        program.setReadChannel(QProcess::StandardError);
        program.start(QStringLiteral(TAV_PROGRAM), {});
        QByteArray log;
        QVERIFY2(waitForLog(program, "Listening:", &log), log.constData());

        QVERIFY(send({ QStringLiteral("--action"), QStringLiteral("pen") }));
        if (portal) {
            QTRY_VERIFY_WITH_TIMEOUT(!backgrounds().isEmpty(), 20000);
            const QImage page(env->dataFolder() + QStringLiteral("/temp/") + backgrounds().first());
            QCOMPARE(page.size(), QGuiApplication::primaryScreen()->size());
            QVERIFY(allBackground(page));
        } else {
            QVERIFY2(waitForLog(program, "org.freedesktop.portal.Screenshot", &log),
                     log.constData());
            QVERIFY(log.contains("Screen grab refused"));
            QVERIFY(backgrounds().isEmpty());
        }
        QCOMPARE(program.state(), QProcess::Running);
        // Still drawing: blank pages come and go on command.
        QVERIFY(send({ QStringLiteral("-a"), QStringLiteral("new-page"), QStringLiteral("-a"),
                       QStringLiteral("previous-page") }));
        // Quit would ask about the pages now; that flow has its own tests.
        program.kill();
        QVERIFY(program.waitForFinished(30000));

        // With nothing to ask about, Quit from a shortcut ends the program.
        log.clear();
        program.start(QStringLiteral(TAV_PROGRAM), {});
        QVERIFY2(waitForLog(program, "Listening:", &log), log.constData());
        QVERIFY(send({ QStringLiteral("--action"), QStringLiteral("quit") }));
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
    }
};

int main(int argc, char *argv[])
{
    WaylandSession::preferXWayland();
    QApplication app(argc, argv);
    TestWaylandSession test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_wayland_session.moc"
