#include "app/appstate.h"
#include "fakescreenshotportal.h"
#include "mainwindow/waitnote.h"
#include "platform/desktoppicture.h"
#include "platform/platform.h"
#include "platform/waylandsession.h"
#include "realprogram.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// Runs inside the headless Wayland desktop of wayland-session.sh, whose
// background is one green. With the screenshot portal (TAV_EXPECT_PORTAL=1)
// pictures of the screen show that green; without it every capture is
// refused with a message naming the portal, and the program still draws.
// Without it, too, a portal of the test's own that never answers stands for
// a desktop whose portal hangs.
class TestWaylandSession : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    const QString sessionRuntime = qEnvironmentVariable("XDG_RUNTIME_DIR");
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

    // Starts the program and waits until it is the listening first instance.
    bool startProgram(QProcess &program, QByteArray *log) const
    {
        program.setProcessEnvironment(programEnvironment());
        // The diagnostics come on stderr; waitForReadyRead watches this channel.
        program.setReadChannel(QProcess::StandardError);
        program.start(QStringLiteral(TAV_PROGRAM), {});
        return waitForLog(program, "Listening:", log);
    }

    // The program's visible windows (all carry the product title) and where
    // they are.
    static QList<QRect> programWindows()
    {
        X11Probe x11;
        QList<QRect> found;
        const QString ids = QString::fromLocal8Bit(RealProgram::tool(
            QStringLiteral("xdotool"),
            { QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
              QStringLiteral("^Quillbury Tavelmark$") }));
        for (const QString &id : ids.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            found.append(x11.rootGeometry(id.toUInt()));
        return found;
    }

    // A window of the program smaller than the screen and not the toolbar
    // (which is taller than wide), or an empty rectangle.
    static QRect dialogWindow()
    {
        const QSize screen = QGuiApplication::primaryScreen()->size();
        for (const QRect &r : programWindows())
            if (r.size() != screen && r.width() > r.height())
                return r;
        return {};
    }

    static bool pageShown()
    {
        return programWindows().contains(QGuiApplication::primaryScreen()->geometry());
    }

    static bool toolbarShown()
    {
        for (const QRect &r : programWindows())
            if (r.height() > r.width())
                return true;
        return false;
    }

    // The screen as the compositor shows it (grim finds the compositor in the
    // session's runtime folder, not in the test's own).
    QImage screenshot() const
    {
        const QString file = env->path(QStringLiteral("screen.png"));
        QFile::remove(file);
        QProcess grim;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert(QStringLiteral("XDG_RUNTIME_DIR"), sessionRuntime);
        grim.setProcessEnvironment(e);
        grim.start(QStringLiteral("grim"), { file });
        grim.waitForFinished(20000);
        return QImage(file);
    }

    // The refusal's message shows over the blank (magenta) page: where the
    // message is, the page is not seen, and beside it the page is.
    bool messageAbovePage() const
    {
        const QRect box = dialogWindow();
        const QColor magenta(255, 0, 255);
        const QImage shown = screenshot();
        return pageShown() && box.isValid()
            && shown.pixelColor(box.right() + 100, box.bottom() + 100) == magenta
            && shown.pixelColor(box.center()) != magenta;
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
                          "[UserInterface]\nLanguage=en_GB\nCaptureDelay=200\nShowTrayIcon=0\n"
                          "[Draw]\nNewpageColor=#ff00ff\n"));
    }
    void cleanup() { env.reset(); }

    // Started where the session has no X display, the program says what is
    // missing instead of the toolkit's abort.
    void withoutXWaylandTheStartSaysWhy()
    {
        QProcessEnvironment e = programEnvironment();
        e.remove(QStringLiteral("DISPLAY"));
        QProcess program;
        program.setProcessEnvironment(e);
        program.start(QStringLiteral(TAV_PROGRAM), {});
        QVERIFY(program.waitForFinished(30000));
        const QByteArray said = program.readAllStandardError();
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 1);
        QVERIFY2(said.contains("XWayland") && said.contains("xwayland enable"), said.constData());
        QVERIFY(!said.contains("Reinstalling"));
    }

    // sway has no tray: "hide" folds the toolbar and "show" unfolds it.
    void showBringsBackWhatHideFolded()
    {
        QProcess program;
        QByteArray log;
        QVERIFY2(startProgram(program, &log), log.constData());
        QTRY_VERIFY_WITH_TIMEOUT(toolbarShown(), 10000);
        const int height = programWindows().value(0).height();
        QVERIFY(send({ QStringLiteral("--action"), QStringLiteral("hide") }));
        QTRY_VERIFY_WITH_TIMEOUT(programWindows().value(0).height() < height / 4, 10000);
        QVERIFY(send({ QStringLiteral("--action"), QStringLiteral("show") }));
        QTRY_COMPARE_WITH_TIMEOUT(programWindows().value(0).height(), height, 10000);
        program.kill();
        QVERIFY(program.waitForFinished(30000));
    }

    // While the portal does not answer the program goes on: a note says it
    // waits, and its Cancel gives the desktop back at once, the portal told.
    // The deadline is the portal test's; the message over the blank page is
    // checked below without a portal.
    void aSilentPortalHoldsNothingUp()
    {
        if (portal)
            QSKIP("the desktop's own portal answers in this session");
        FakeScreenshotPortal fake;
        fake.setMode(FakeScreenshotPortal::Mode::Silent);
        QVERIFY(fake.serve());
        QPoint cancelOffset;
        {
            WaitNote layout(nullptr);
            layout.setAttribute(Qt::WA_DontShowOnScreen);
            layout.show();
            cancelOffset
                = layout.cancelButton()->mapTo(&layout, layout.cancelButton()->rect().center());
        }
        QProcess program;
        QByteArray log;
        QVERIFY2(startProgram(program, &log), log.constData());

        QVERIFY(send({ QStringLiteral("--action"), QStringLiteral("pen") }));
        QRect note;
        QTRY_VERIFY_WITH_TIMEOUT((note = dialogWindow()).isValid(), 10000);
        QVERIFY(!pageShown());
        const QPoint cancel = note.topLeft() + cancelOffset;
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(cancel.x()),
                               QString::number(cancel.y()), QStringLiteral("click"),
                               QStringLiteral("1") });
        QTRY_VERIFY_WITH_TIMEOUT(toolbarShown() && !dialogWindow().isValid(), 10000);
        QVERIFY(!pageShown());
        QTRY_COMPARE_WITH_TIMEOUT(fake.closes(), 1, 10000);
        program.kill();
        QVERIFY(program.waitForFinished(30000));
    }

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
        Platform &platform = Platform::instance();
        QSignalSpy fetched(&platform.grabNotices(), &GrabNotices::signal_Fetched);
        QVERIFY(platform.fetchDesktop());
        QVERIFY(fetched.wait(30000));
        const QPixmap region = DesktopPicture::grab(QRect(100, 120, 300, 200));
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
        QByteArray log;
        QVERIFY2(startProgram(program, &log), log.constData());

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
            QTRY_VERIFY_WITH_TIMEOUT(messageAbovePage(), 10000);
        }
        QCOMPARE(program.state(), QProcess::Running);
        // Still drawing: blank pages come and go on command.
        QVERIFY(send({ QStringLiteral("-a"), QStringLiteral("new-page"), QStringLiteral("-a"),
                       QStringLiteral("previous-page") }));
        // Quit would ask about the pages now; that flow has its own tests.
        program.kill();
        QVERIFY(program.waitForFinished(30000));

        // With nothing to ask about, Quit from a shortcut ends the program,
        // also after a picture came from the portal.
        log.clear();
        QVERIFY2(startProgram(program, &log), log.constData());
        if (portal) {
            QVERIFY(send({ QStringLiteral("--action"), QStringLiteral("colour-picker") }));
            // The picker grabs the input; the compositor's own list shows it.
            const auto pickerShown = [] {
                return RealProgram::tool(QStringLiteral("swaymsg"),
                                         { QStringLiteral("-t"), QStringLiteral("get_tree") })
                    .contains("\"name\": \"Tavelmark\"");
            };
            QTRY_VERIFY_WITH_TIMEOUT(pickerShown(), 20000);
            RealProgram::key(QStringLiteral("Escape"));
            QTRY_VERIFY_WITH_TIMEOUT(!pickerShown(), 10000);
        }
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
