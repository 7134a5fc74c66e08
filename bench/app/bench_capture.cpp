// From the press on the toolbar's Pen button to the captured page on screen,
// in the real program on the X server named by DISPLAY (with a window
// manager), beside a bare grab of the same screen in this process and beside
// the least a Qt program does for the same: hide a small window, grab, show
// the grab in a full-screen window (minimal_capture). The page
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
#include <functional>

namespace {
const int captureDelayMs = 100;

// A program that captures on a press in its small window, and how it goes
// back to that window: by a command, or (when null) by a press on the page.
struct Target
{
    QByteArray title;
    QPoint pressOffset; // in the small window, device pixels
    std::function<bool()> backCommand;
};

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
    // `desktop` is what the last bare grab saw.
    CaptureRun(QProcess &program, const Target &target, const QImage &desktop)
        : program(program)
        , target(target)
        , frames(target.title)
        , screen(QGuiApplication::primaryScreen())
        , screenSize(input.screenSize())
        , desktop(desktop)
    {
    }

    bool ready() const { return frames.connected() && input.connected() && watcher.connected(); }

    // Press to page on screen, less the capture delay; negative on failure.
    double capture()
    {
        const QRect toolbar = frames.viewableWindow(screenSize);
        if (toolbar.isEmpty())
            return fail("no toolbar on screen");
        input.moveTo(toolbar.topLeft() + target.pressOffset);
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

    bool backToDesktop()
    {
        watcher.drain();
        if (target.backCommand) {
            if (!target.backCommand())
                return false;
        } else {
            input.moveTo(QPoint(screenSize.width() / 2, screenSize.height() / 2));
            input.press();
            input.release();
            input.sync();
        }
        if (!watcher.waitForMap(target.title))
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
    Target target;
    FrameWatcher frames;
    MapWatcher watcher;
    XTestInput input;
    QScreen *screen;
    QSize screenSize;
    const QImage &desktop;
};

double bareGrab(QImage &desktop)
{
    QElapsedTimer timer;
    timer.start();
    const QPixmap grab = QGuiApplication::primaryScreen()->grabWindow(0);
    const double ms = timer.nsecsElapsed() / 1e6;
    desktop = grab.toImage();
    return ms;
}

// The mouse tool takes the program back to the desktop.
bool runMouseAction(const QProcessEnvironment &env)
{
    QProcess action;
    action.setProcessEnvironment(env);
    action.start(QStringLiteral(TAV_PROGRAM),
                 { QStringLiteral("--action"), QStringLiteral("mouse") });
    return action.waitForFinished(15000) && action.exitCode() == 0;
}

bool startProgram(QProcess &program, const QString &path, const QStringList &arguments,
                  const QByteArray &title, const QProcessEnvironment &env)
{
    MapWatcher starter;
    program.setProcessEnvironment(env);
    program.setArguments(arguments);
    if (ProcStats::start(program, path, title, starter).ms >= 0)
        return true;
    std::printf("%s never showed its window\n", title.constData());
    return false;
}

void report(BenchRounds &rounds, const CaptureRun &run)
{
    const QSize size = QGuiApplication::primaryScreen()->size();
    std::printf("capture into a page on a %d x %d screen at scale %.0f (capture delay %d ms, the "
                "least the settings accept, left out): medians (spread) of interleaved rounds\n",
                size.width(), size.height(), QGuiApplication::primaryScreen()->devicePixelRatio(),
                captureDelayMs);
    rounds.print("press on Pen to the page on screen");
    rounds.print("the same in a minimal Qt program");
    rounds.print("bare grabWindow of the screen");
    std::printf("  with the capture delay the press to the page takes %.1f ms\n",
                rounds.figure("press on Pen to the page on screen").median + captureDelayMs);
    std::printf("  of which press to toolbar hidden %.2f ms, drawing window mapped to painted "
                "%.2f ms\n",
                ProcStats::median(run.hidden), ProcStats::median(run.mappedToPainted));
    std::printf("  against the bare grab:\n  ");
    rounds.printRatio("press on Pen to the page on screen", "bare grabWindow of the screen", 1.2);
    std::printf("  against the minimal Qt program:\n  ");
    rounds.printRatio("press on Pen to the page on screen", "the same in a minimal Qt program", 0);
}
} // namespace

int main(int argc, char **argv)
{
    // The bare grab is the X server's, whatever platform the other benchmarks use.
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QProcessEnvironment env = ProcStats::childEnvironment(dir);
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    QProcess program, minimal;
    const Target real { "Quillbury Tavelmark", penButtonOffset(ratio),
                        [&env] { return runMouseAction(env); } };
    const Target least { "Minimal Capture", QPoint(30, 30) * ratio, {} };
    if (!writeSettings(env)
        || !startProgram(program, QStringLiteral(TAV_PROGRAM), {}, real.title, env)
        || !startProgram(minimal, QStringLiteral(TAV_MINIMAL_CAPTURE),
                         { QString::number(captureDelayMs) }, least.title, env)) {
        std::printf("bench_capture needs an X server (DISPLAY) with a window manager\n");
        return 1;
    }
    QImage desktop;
    CaptureRun run(program, real, desktop), floor(minimal, least, desktop);
    if (!run.ready() || !floor.ready()) {
        std::printf("bench_capture needs the XTest and DAMAGE extensions\n");
        return 1;
    }
    bool failed = false;
    auto captureAndBack = [&failed](CaptureRun &capture) {
        const double ms = capture.capture();
        failed = failed || ms < 0 || !capture.backToDesktop();
        return ms;
    };
    BenchRounds rounds;
    rounds.add("bare grabWindow of the screen", [&] { return bareGrab(desktop); });
    rounds.add("press on Pen to the page on screen", [&] { return captureAndBack(run); });
    rounds.add("the same in a minimal Qt program", [&] { return captureAndBack(floor); });
    rounds.run(9);
    ProcStats::stop(program);
    ProcStats::stop(minimal);
    if (failed)
        return 1;
    report(rounds, run);
    return 0;
}
