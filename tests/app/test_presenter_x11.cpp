#include "realprogram.h"
#include "swatch.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QElapsedTimer>
#include <QFile>
#include <QScreen>
#include <QtTest>

#include <memory>

// The real program over a live desktop with a compositor running: the laser
// pointer chosen from the command line shows a red dot at the pointer while
// the desktop shows unchanged elsewhere, and a thousand pointer moves with
// the laser cost the program less than the same moves drawing with the pen
// (both figures are printed): its frames gather several moves and blit
// pictures drawn once.
class TestPresenterX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static QColor shownAt(const QPoint &p)
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, p.x(), p.y(), 1, 1)
            .toImage()
            .pixelColor(0, 0);
    }

    static bool near(const QColor &a, const QColor &b, int tolerance)
    {
        return qAbs(a.red() - b.red()) <= tolerance && qAbs(a.green() - b.green()) <= tolerance
            && qAbs(a.blue() - b.blue()) <= tolerance;
    }

    static bool composited(const X11Probe &x11)
    {
        auto *reply = xcb_get_selection_owner_reply(
            x11.connection(), xcb_get_selection_owner(x11.connection(), x11.atom("_NET_WM_CM_S0")),
            nullptr);
        const bool owned = reply && reply->owner != XCB_NONE;
        std::free(reply);
        return owned;
    }

    // The running program receives the action through a second start.
    static bool perform(const RealProgram &program, const QString &strAction)
    {
        QProcess remote;
        remote.setProcessEnvironment(program.program.processEnvironment());
        remote.start(QStringLiteral(TAV_PROGRAM), { QStringLiteral("--action"), strAction });
        return remote.waitForFinished(15000) && remote.exitCode() == 0;
    }

    // User and system CPU time of a process, in clock ticks.
    static qint64 cpuTicks(qint64 pid)
    {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            return -1;
        // Fields after the command name, which ends with the last ')'.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
    }

    // Waits until the program has been idle for half a second, then tells
    // its CPU time.
    static qint64 settledTicks(qint64 pid)
    {
        qint64 last = cpuTicks(pid);
        QElapsedTimer still;
        still.start();
        QElapsedTimer limit;
        limit.start();
        while (still.elapsed() < 500 && limit.elapsed() < 20000) {
            QTest::qWait(100);
            const qint64 now = cpuTicks(pid);
            if (now != last) {
                last = now;
                still.restart();
            }
        }
        return last;
    }

    // Nudges the pointer onto `p` and looks for the laser's red there.
    static bool laserDotAt(const QPoint &p)
    {
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(p.x() - 5),
                               QString::number(p.y()), QStringLiteral("mousemove"),
                               QString::number(p.x()), QString::number(p.y()) });
        const QColor dot = shownAt(p + QPoint(2, 2));
        return dot.red() > 200 && dot.green() < 60 && dot.blue() < 60;
    }

    // A thousand moves in one xdotool run, along a zigzag around the screen.
    static void thousandMoves(const QStringList &before, const QStringList &after)
    {
        QStringList arguments = before;
        for (int i = 0; i < 1000; ++i) {
            const int x = 300 + (i * 7) % 1200;
            const int y = 200 + ((i / 40) % 2 ? 40 - i % 40 : i % 40) * 15;
            arguments << QStringLiteral("mousemove") << QString::number(x) << QString::number(y)
                      << QStringLiteral("sleep") << QStringLiteral("0.002");
        }
        RealProgram::xdotool(arguments + after);
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void laserShowsOverTheLiveDesktopAndCostsLessThanThePen()
    {
        X11Probe x11;
        QProcess compositor;
        compositor.start(QStringLiteral("xcompmgr"), {});
        QVERIFY(compositor.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(composited(x11), 10000);
        const QColor backdrop(40, 120, 200);
        Swatch swatch(backdrop);
        swatch.setGeometry(QGuiApplication::primaryScreen()->geometry());
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        QTRY_VERIFY_WITH_TIMEOUT(near(shownAt(QPoint(200, 150)), backdrop, 2), 10000);

        RealProgram program(*env);
        QVERIFY(program.start({}));
        QVERIFY2(!program.toolbar().isEmpty(), "the toolbar never showed");
        QVERIFY(perform(program, QStringLiteral("live-desktop")));
        QVERIFY(perform(program, QStringLiteral("laser-pointer")));
        const QPoint pointer(900, 500);
        // The live page covers the screen once the desktop shows through it
        // and a move reaches it.
        QTRY_VERIFY_WITH_TIMEOUT(laserDotAt(pointer), 15000);
        // Far from the pointer the running desktop shows through.
        for (const QPoint &far : { QPoint(200, 150), QPoint(1700, 900), QPoint(900, 800) })
            QVERIFY2(near(shownAt(far), backdrop, 3), qPrintable(shownAt(far).name()));

        // The new page's session is written within 2 s; its work must not
        // fall into either measurement.
        QTRY_VERIFY_WITH_TIMEOUT(
            QFile::exists(env->dataFolder() + QStringLiteral("/session.tavelmark")), 15000);
        const qint64 pid = program.program.processId();
        const qint64 beforeLaser = settledTicks(pid);
        thousandMoves({}, {});
        const qint64 laser = settledTicks(pid) - beforeLaser;
        QVERIFY(perform(program, QStringLiteral("pen")));
        const qint64 beforePen = settledTicks(pid);
        thousandMoves({ QStringLiteral("mousemove"), QStringLiteral("300"), QStringLiteral("200"),
                        QStringLiteral("mousedown"), QStringLiteral("1") },
                      {});
        const qint64 pen = settledTicks(pid) - beforePen;
        RealProgram::xdotool({ QStringLiteral("mouseup"), QStringLiteral("1") });
        qInfo("CPU of 1000 pointer moves: laser %lld ticks, pen %lld ticks", laser, pen);
        QVERIFY2(laser < pen, qPrintable(QStringLiteral("laser %1, pen %2").arg(laser).arg(pen)));
        compositor.terminate();
        compositor.waitForFinished(5000);
    }
};

QTEST_MAIN(TestPresenterX11)
#include "test_presenter_x11.moc"
