#include "realprogram.h"
#include "swatch.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// The real program over a live desktop with a compositor running: the laser
// pointer chosen from the command line shows a red dot at the pointer while
// the desktop shows unchanged elsewhere, the dot follows the pointer, and the
// desktop shows again where the dot was once its trail has faded. What the
// laser costs against the pen is measured by bench_pencpu.
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

    // Nudges the pointer onto `p` and looks for the laser's red there.
    static bool laserDotAt(const QPoint &p)
    {
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(p.x() - 5),
                               QString::number(p.y()), QStringLiteral("mousemove"),
                               QString::number(p.x()), QString::number(p.y()) });
        const QColor dot = shownAt(p + QPoint(2, 2));
        return dot.red() > 200 && dot.green() < 60 && dot.blue() < 60;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void laserShowsOverTheLiveDesktop()
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

        // The dot follows the pointer, and its trail fades from where it was.
        const QPoint next(1300, 300);
        QTRY_VERIFY_WITH_TIMEOUT(laserDotAt(next), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(near(shownAt(pointer + QPoint(2, 2)), backdrop, 3), 15000);
        compositor.terminate();
        compositor.waitForFinished(5000);
    }
};

QTEST_MAIN(TestPresenterX11)
#include "test_presenter_x11.moc"
