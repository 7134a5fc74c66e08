#include "realprogram.h"
#include "testenvironment.h"
#include "twomonitors.h"
#include "x11probe.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QtTest>

#include <memory>

// The real program on two monitors side by side, the left at scale 2 and the
// right at scale 1 ("2;1"): Pen on each covers that monitor with its desktop
// pixel for pixel; unplugging the monitor a page is open on brings the
// program back onto the remaining one.
class TestMonitorsX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    QImage desktop;
    const QRect left = QRect(0, 0, 2560, 1600);
    const QRect right = QRect(2560, 0, 1280, 800);

    static QImage screenNow()
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, 0, 0, 3840, 1600)
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    static bool clientCovers(const X11Probe &x11, const QRect &area)
    {
        const QList<quint32> clients
            = x11.cardinals(x11.rootWindow(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        return std::any_of(clients.cbegin(), clients.cend(),
                           [&](quint32 c) { return x11.rootGeometry(c) == area; });
    }

    // A block of the monitor, clear of the page label, shows the desktop
    // picture unchanged while the root itself now shows another one. Where
    // the toolbar floats over the block (a slow drop can leave it there) is
    // left out.
    bool pageShowsDesktop(const QRect &monitor, const QRect &toolbar) const
    {
        const QRect block(monitor.topLeft() + QPoint(200, 150), QSize(300, 500));
        QImage shown = screenNow().copy(block).convertToFormat(QImage::Format_RGB32);
        QImage expected = desktop.copy(block).convertToFormat(QImage::Format_RGB32);
        const QRect hidden = toolbar.translated(-block.topLeft()).intersected(shown.rect());
        for (QImage *image : { &shown, &expected })
            QPainter(image).fillRect(hidden, Qt::black);
        return shown == expected;
    }

    void changeRoot()
    {
        QImage changed = desktop;
        changed.invertPixels();
        QVERIFY(RealProgram::paintRoot(changed, env->path(QStringLiteral("changed.png"))));
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void penOnEachMonitorAndOneUnplugged()
    {
        X11Probe x11;
        QTRY_COMPARE(QGuiApplication::screens().size(), 2);
        desktop = numberedPicture(QSize(3840, 1600));
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        const QPoint pen = RealProgram::penButtonOffset();

        RealProgram program(*env);
        QVERIFY(program.start({ QStringLiteral("QT_SCREEN_SCALE_FACTORS=2;1") }));
        QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        QRect bar = x11.rootGeometry(toolbar.toUInt());
        QVERIFY2(left.contains(bar),
                 qPrintable(QStringLiteral("toolbar at %1,%2 %3x%4")
                                .arg(bar.x())
                                .arg(bar.y())
                                .arg(bar.width())
                                .arg(bar.height())));

        // On the left monitor, scaled: its buttons are twice as large.
        RealProgram::click(bar.topLeft() + pen * 2);
        QTRY_VERIFY_WITH_TIMEOUT(clientCovers(x11, left), 15000);
        changeRoot();
        QTRY_VERIFY_WITH_TIMEOUT(pageShowsDesktop(left, bar), 10000);
        RealProgram::key(QStringLiteral("Escape"));
        QTRY_VERIFY_WITH_TIMEOUT(!clientCovers(x11, left), 10000);

        // The toolbar dragged by its title strip onto the right monitor.
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        toolbar = program.toolbar();
        bar = x11.rootGeometry(toolbar.toUInt());
        RealProgram::drag(QPoint(bar.center().x(), bar.top() + 4), QPoint(3200, 300));
        QTRY_VERIFY_WITH_TIMEOUT(right.contains(x11.rootGeometry(toolbar.toUInt())), 10000);
        bar = x11.rootGeometry(toolbar.toUInt());
        RealProgram::click(bar.topLeft() + pen);
        QTRY_VERIFY_WITH_TIMEOUT(clientCovers(x11, right), 15000);
        changeRoot();
        QTRY_VERIFY_WITH_TIMEOUT(pageShowsDesktop(right, bar), 10000);

        // The right monitor goes while its page is open: drawing ends, the
        // toolbar comes onto the left monitor, and Pen works there again.
        QCOMPARE(std::system("xrandr --delmonitor R"), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!clientCovers(x11, right), 15000);
        // The toolbar becomes a window of its own again once drawing ends.
        QTRY_VERIFY_WITH_TIMEOUT(
            left.contains(x11.rootGeometry((toolbar = program.toolbar()).toUInt())), 10000);
        QCOMPARE(program.program.state(), QProcess::Running);
        QVERIFY(RealProgram::paintRoot(desktop, env->path(QStringLiteral("desktop.png"))));
        bar = x11.rootGeometry(toolbar.toUInt());
        RealProgram::click(bar.topLeft() + pen * 2);
        QTRY_VERIFY_WITH_TIMEOUT(clientCovers(x11, left), 15000);
        changeRoot();
        QTRY_VERIFY_WITH_TIMEOUT(pageShowsDesktop(left, bar), 10000);
    }
};

int main(int argc, char **argv)
{
    if (!setUpTwoMonitors())
        return 1;
    QApplication app(argc, argv);
    TestMonitorsX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_monitors_x11.moc"
