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

    // Nudges the pointer onto `p` and looks for the laser's red there.
    static bool laserDotAt(const QPoint &p)
    {
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(p.x() - 5),
                               QString::number(p.y()), QStringLiteral("mousemove"),
                               QString::number(p.x()), QString::number(p.y()) });
        const QColor dot = RealProgram::shownAt(p + QPoint(2, 2));
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
        TAV_TRY_VERIFY(x11.isComposited(), 10000);
        const QColor backdrop(40, 120, 200);
        Swatch swatch(backdrop);
        swatch.setGeometry(QGuiApplication::primaryScreen()->geometry());
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        TAV_TRY_VERIFY(RealProgram::nearColour(RealProgram::shownAt(QPoint(200, 150)), backdrop, 2),
                       10000);

        RealProgram program(*env);
        QVERIFY(program.start({}));
        QVERIFY2(!program.toolbar().isEmpty(), "the toolbar never showed");
        QVERIFY(program.perform(QStringLiteral("live-desktop")));
        QVERIFY(program.perform(QStringLiteral("laser-pointer")));
        const QPoint pointer(900, 500);
        // The live page covers the screen once the desktop shows through it
        // and a move reaches it.
        TAV_TRY_VERIFY(laserDotAt(pointer), 15000);
        // Far from the pointer the running desktop shows through.
        for (const QPoint &far : { QPoint(200, 150), QPoint(1700, 900), QPoint(900, 800) })
            QVERIFY2(RealProgram::nearColour(RealProgram::shownAt(far), backdrop, 3),
                     qPrintable(RealProgram::shownAt(far).name()));

        // The dot follows the pointer, and its trail fades from where it was.
        const QPoint next(1300, 300);
        TAV_TRY_VERIFY(laserDotAt(next), 15000);
        TAV_TRY_VERIFY(
            RealProgram::nearColour(RealProgram::shownAt(pointer + QPoint(2, 2)), backdrop, 3),
            15000);
        compositor.terminate();
        compositor.waitForFinished(5000);
    }
};

QTEST_MAIN(TestPresenterX11)
#include "test_presenter_x11.moc"
