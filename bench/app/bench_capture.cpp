// From the press on the toolbar's Pen button to the captured page on screen,
// in the real program on the X server named by DISPLAY (with a window
// manager), beside a bare grab of the same screen in this process. The page
// is on screen when the drawing window is mapped and the X server has
// received its pixels all over (DAMAGE), seen from here. The program waits
// its capture delay between hiding the toolbar and grabbing; that wait is
// set to 100 ms, the least the settings accept, and taken out of the figure.
#include "benchrounds.h"
#include "framewatcher.h"
#include "mapwatcher.h"
#include "procstats.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "xtestinput.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>

namespace {
const QByteArray title = "Quillbury Tavelmark";
const int captureDelayMs = 100;

// Where the Pen button's centre lies in the toolbar, in device pixels, laid
// out by the program's own code.
QPoint penButtonOffset(qreal ratio)
{
    ToolWidget layout;
    layout.setAttribute(Qt::WA_DontShowOnScreen);
    layout.show();
    const ToolWidgetBtn *pen = layout.button(ToolWidget::Pen);
    return pen->mapTo(&layout, pen->rect().center()) * ratio;
}

bool writeSettings(const QProcessEnvironment &env)
{
    const QString folder
        = env.value(QStringLiteral("XDG_DATA_HOME")) + QStringLiteral("/Quillbury/Tavelmark");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Setting.ini"));
    const QByteArray text = "[UserInterface]\nLanguage=en_GB\nCaptureDelay="
        + QByteArray::number(captureDelayMs) + "\nShowTrayIcon=0\n";
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

class CaptureRun
{
public:
    CaptureRun(QProcess &program, const QProcessEnvironment &env)
        : program(program)
        , env(env)
        , frames(title)
        , screen(QGuiApplication::primaryScreen())
        , screenSize(input.screenSize())
    {
    }

    bool ready() const { return frames.connected() && input.connected() && watcher.connected(); }

    double bareGrab()
    {
        QElapsedTimer timer;
        timer.start();
        const QPixmap grab = screen->grabWindow(0);
        const double ms = timer.nsecsElapsed() / 1e6;
        desktop = grab.toImage();
        return ms;
    }

    // Press to page on screen, less the capture delay; negative on failure.
    double capture()
    {
        const QRect toolbar = frames.viewableWindow(screenSize);
        if (toolbar.isEmpty())
            return fail("no toolbar on screen");
        input.moveTo(toolbar.topLeft() + penButtonOffset(screen->devicePixelRatio()));
        ProcStats::settled(program.processId());
        frames.arm();
        FrameWatcher::Moments moments;
        QElapsedTimer clock;
        clock.start();
        input.press();
        input.release();
        if (!frames.waitForPainted(screenSize, clock, moments))
            return fail("the drawing window was never painted all over");
        if (!showsDesktop())
            return fail("the page does not show the desktop");
        hidden.push_back(moments.hidden / 1e6);
        mappedToPainted.push_back((moments.painted - moments.mapped) / 1e6);
        return moments.painted / 1e6 - captureDelayMs;
    }

    // The mouse tool takes the program back to the desktop.
    bool backToDesktop()
    {
        watcher.drain();
        QProcess action;
        action.setProcessEnvironment(env);
        action.start(QStringLiteral(TAV_PROGRAM),
                     { QStringLiteral("--action"), QStringLiteral("mouse") });
        if (!action.waitForFinished(15000) || !watcher.waitForMap(title))
            return false;
        ProcStats::settled(program.processId());
        return true;
    }

    std::vector<double> hidden, mappedToPainted;

private:
    double fail(const char *why)
    {
        std::printf("capture failed: %s\n", why);
        return -1;
    }

    // A block of the screen far from the toolbar, as the last bare grab saw it.
    bool showsDesktop()
    {
        const QRect block(screenSize.width() / 4, screenSize.height() * 3 / 4, 64, 64);
        const qreal ratio = screen->devicePixelRatio();
        const QImage shown
            = screen
                  ->grabWindow(0, int(block.x() / ratio), int(block.y() / ratio),
                               int(block.width() / ratio), int(block.height() / ratio))
                  .toImage()
                  .convertToFormat(QImage::Format_RGB32);
        const QImage expected = desktop.copy(block).convertToFormat(QImage::Format_RGB32);
        return !shown.isNull() && shown.size() == expected.size() && shown == expected;
    }

    QProcess &program;
    const QProcessEnvironment &env;
    FrameWatcher frames;
    MapWatcher watcher;
    XTestInput input;
    QScreen *screen;
    QSize screenSize;
    QImage desktop;
};
} // namespace

int main(int argc, char **argv)
{
    // The bare grab is the X server's, whatever platform the other benchmarks use.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QProcessEnvironment env = ProcStats::childEnvironment(dir);
    QProcess program;
    program.setProcessEnvironment(env);
    MapWatcher starter;
    if (!starter.connected() || !writeSettings(env)) {
        std::printf("bench_capture needs an X server (DISPLAY) with a window manager\n");
        return 1;
    }
    if (ProcStats::start(program, QStringLiteral(TAV_PROGRAM), title, starter).ms < 0) {
        std::printf("the program's toolbar never showed\n");
        return 1;
    }
    CaptureRun run(program, env);
    if (!run.ready()) {
        std::printf("bench_capture needs the XTest and DAMAGE extensions\n");
        return 1;
    }
    bool failed = false;
    BenchRounds rounds;
    rounds.add("bare grabWindow of the screen", [&] { return run.bareGrab(); });
    rounds.add("press on Pen to the page on screen", [&] {
        const double ms = run.capture();
        failed = failed || ms < 0 || !run.backToDesktop();
        return ms;
    });
    rounds.run(9);
    ProcStats::stop(program);
    if (failed)
        return 1;
    const QSize size = QGuiApplication::primaryScreen()->size();
    std::printf("capture into a page on a %d x %d screen at scale %.0f (capture delay %d ms, the "
                "least the settings accept, left out): medians (spread) of interleaved rounds\n",
                size.width(), size.height(), QGuiApplication::primaryScreen()->devicePixelRatio(),
                captureDelayMs);
    rounds.print("press on Pen to the page on screen");
    rounds.print("bare grabWindow of the screen");
    std::printf("  with the capture delay the press to the page takes %.1f ms\n",
                rounds.figure("press on Pen to the page on screen").median + captureDelayMs);
    std::printf("  of which press to toolbar hidden %.2f ms, drawing window mapped to painted "
                "%.2f ms\n",
                ProcStats::median(run.hidden), ProcStats::median(run.mappedToPainted));
    rounds.printRatio("press on Pen to the page on screen", "bare grabWindow of the screen", 1.2);
    return 0;
}
