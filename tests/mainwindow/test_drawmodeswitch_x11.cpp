#include "realprogram.h"
#include "swatch.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// The real program over a live desktop with a compositor running: a command
// that needs the desktop, chosen on the page, finds the page gone and the
// toolbar back on the desktop once it shows its dialog, and the program goes
// on drawing afterwards.
class TestDrawModeSwitchX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    // The toolbar floats as a small window of its own.
    static bool toolbarOnDesktop(const X11Probe &x11)
    {
        const QString bar = RealProgram::findWindow(QStringLiteral("Quillbury Tavelmark"));
        if (bar.isEmpty())
            return false;
        const QRect shown = x11.rootGeometry(bar.toUInt());
        return !shown.isEmpty()
            && shown.width() < QGuiApplication::primaryScreen()->geometry().width() / 2;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void openFromALivePageShowsTheDesktop()
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
        const xcb_window_t backdropWindow = xcb_window_t(swatch.winId());
        TAV_TRY_VERIFY(RealProgram::nearColour(RealProgram::shownAt(QPoint(200, 150)), backdrop, 2),
                       10000);

        RealProgram program(*env);
        QVERIFY(program.start({}));
        QVERIFY2(!program.toolbar().isEmpty(), "the toolbar never showed");
        QVERIFY(program.perform(QStringLiteral("live-desktop")));
        QVERIFY(program.perform(QStringLiteral("pen")));
        // The backdrop, undecorated and covering the screen, counts as full
        // screen while it has the keyboard and would be stacked over the page.
        TAV_TRY_VERIFY(RealProgram::fullScreenClientActive(x11, backdropWindow), 15000);
        // Far from where the dialog will show.
        const QPoint ink(400, 150);
        // Until the page takes input: a stroke drawn again is the same stroke.
        const auto drawn = [&] {
            RealProgram::drag(QPoint(300, 150), QPoint(500, 150));
            return !RealProgram::nearColour(RealProgram::shownAt(ink), backdrop, 40);
        };
        TAV_TRY_VERIFY(drawn(), 15000);

        RealProgram::key(QStringLiteral("ctrl+o"));
        TAV_TRY_VERIFY(!RealProgram::findWindow(QStringLiteral("Open")).isEmpty(), 15000);
        QVERIFY(!RealProgram::fullScreenClientShown(x11, backdropWindow));
        QVERIFY2(RealProgram::nearColour(RealProgram::shownAt(ink), backdrop, 3),
                 qPrintable(RealProgram::shownAt(ink).name()));
        QVERIFY(toolbarOnDesktop(x11));

        // Cancelled, the dialog leaves the desktop as it was; the program
        // still answers: a new capture covers the screen again.
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(RealProgram::findWindow(QStringLiteral("Open")).isEmpty(), 10000);
        QVERIFY(!RealProgram::fullScreenClientShown(x11, backdropWindow));
        QVERIFY(toolbarOnDesktop(x11));
        QVERIFY(program.perform(QStringLiteral("new-capture")));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientActive(x11, backdropWindow), 15000);
        compositor.terminate();
        compositor.waitForFinished(5000);
    }
};

QTEST_MAIN(TestDrawModeSwitchX11)
#include "test_drawmodeswitch_x11.moc"
