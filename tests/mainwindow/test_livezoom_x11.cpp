#include "realprogram.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// The real program zooms into the real screen: asked by a second start, it
// shows the desktop's picture twice as large around the pointer, and Escape
// gives the desktop back.
class TestLiveZoomX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    // Whether the screen shows the picture's pixel `expected` at `at`, or
    // one beside it (the zoomed picture is smoothly scaled).
    static bool showsNear(const QPoint &at, const QPoint &expected)
    {
        const QPoint shown = numberedPosition(RealProgram::shownAt(at).rgb());
        return (shown - expected).manhattanLength() <= 2;
    }

    // Away from the toolbar and the page label, in the middle of a 256-pixel
    // tile of the picture, so that smoothing never mixes two tiles.
    static QPoint restingPlace(const QRect &screen, const QRect &toolbar)
    {
        const bool right = toolbar.center().x() < screen.center().x();
        const int x = right ? screen.width() * 3 / 4 : screen.width() / 4;
        return QPoint(x / 256 * 256 + 128, screen.height() / 2 / 256 * 256 + 128);
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void zoomsIntoTheScreenAroundThePointer()
    {
        X11Probe x11;
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTemporaryDir folder;
        QVERIFY(RealProgram::paintRoot(numberedPicture(screen.size()),
                                       folder.filePath(QStringLiteral("desktop.png"))));
        RealProgram program(*env);
        QVERIFY(program.start({}));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        const QPoint pointer = restingPlace(screen, x11.rootGeometry(toolbar.toUInt()));
        const QPoint aside(100, 80);
        RealProgram::xdotool({ QStringLiteral("mousemove"), QString::number(pointer.x()),
                               QString::number(pointer.y()) });
        TAV_TRY_VERIFY(showsNear(pointer + aside, pointer + aside), 10000);

        QVERIFY(program.perform(QStringLiteral("zoom")));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);
        // Twice as large, with the pointer's pixel where it was, once the
        // animation has ended.
        const auto magnified = [&] {
            return showsNear(pointer + aside, pointer + aside / 2) && showsNear(pointer, pointer)
                && showsNear(pointer - aside, pointer - aside / 2);
        };
        TAV_TRY_VERIFY(magnified(), 10000);

        // Escape, to the page as a user's keys go: nothing was drawn, so the
        // desktop comes back.
        const QString page = RealProgram::findWindow(QStringLiteral("Quillbury Tavelmark"));
        QVERIFY(!page.isEmpty());
        RealProgram::xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), page });
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);
        TAV_TRY_VERIFY(showsNear(pointer + aside, pointer + aside), 10000);
    }
};

QTEST_MAIN(TestLiveZoomX11)
#include "test_livezoom_x11.moc"
