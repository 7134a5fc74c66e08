// CPU per pointer move of the real program drawing with the pen, beside a
// minimal Qt pen program (minimal_pen) driven by the same XTest moves, and
// of the real program with the laser pointer (moves without a button), on
// the X server named by DISPLAY with a window manager. Each figure is the
// program's own CPU from the scheduler's count, every repaint and animation
// frame the moves cause included.
//
// usage: bench_pencpu [--moves N] [--interval-us U]
// (1,000 moves 2 ms apart by default; TAV_BENCH_ROUNDS sets the rounds)
#include "benchrounds.h"
#include "framewatcher.h"
#include "mapwatcher.h"
#include "movecost.h"
#include "procstats.h"
#include "xtestinput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {
const QByteArray title = "Quillbury Tavelmark";
const QByteArray minimalTitle = "Minimal Pen";

int option(const QStringList &arguments, const QString &name, int fallback)
{
    const int at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1).toInt() : fallback;
}

bool writeSettings(const QProcessEnvironment &env)
{
    const QString folder
        = env.value(QStringLiteral("XDG_DATA_HOME")) + QStringLiteral("/Quillbury/Tavelmark");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Setting.ini"));
    const QByteArray text = "[UserInterface]\nLanguage=en_GB\nCaptureDelay=100\nShowTrayIcon=0\n";
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

class PenCpu
{
public:
    PenCpu(const QProcessEnvironment &env, int moves, int intervalUs)
        : env(env)
        , frames(title)
        , minimalFrames(minimalTitle)
    {
        run.path = MoveCost::figureOfEight(input.screenSize(), moves);
        run.intervalUs = intervalUs;
    }

    bool ready() const { return input.connected() && frames.connected() && watcher.connected(); }

    // The program starts on a captured page with the pen, as
    // `tavelmark --action pen` from the desktop does.
    bool startProgram()
    {
        program.setProcessEnvironment(env);
        frames.arm();
        program.start(QStringLiteral(TAV_PROGRAM),
                      { QStringLiteral("--action"), QStringLiteral("pen") });
        QElapsedTimer clock;
        clock.start();
        FrameWatcher::Moments moments;
        return program.waitForStarted()
            && frames.waitForPainted(input.screenSize(), clock, moments);
    }

    double inProgram(const char *tool, bool buttonHeld)
    {
        if (!perform(tool))
            return fail("the program refused the tool");
        MoveCost::Run asked = run;
        asked.buttonHeld = buttonHeld;
        const double us = MoveCost::perMoveUs(input, program.processId(), asked);
        return us < 0 ? fail("the program is gone") : us;
    }

    // Started for each round over the program, which stays in drawing mode.
    double minimal()
    {
        QProcess pen;
        pen.setProcessEnvironment(env);
        if (ProcStats::start(pen, QStringLiteral(TAV_MINIMAL_PEN), minimalTitle, watcher).ms < 0)
            return fail("the minimal pen program never showed");
        if (!minimalFrames.activate())
            return fail("the minimal pen program could not be brought to the front");
        // A first stroke pages in the painting code, as the program's own
        // earlier rounds did for it.
        MoveCost::Run warmUp = run;
        warmUp.path.resize(std::min<size_t>(run.path.size(), 101));
        MoveCost::perMoveUs(input, pen.processId(), warmUp);
        const double us = MoveCost::perMoveUs(input, pen.processId(), run);
        ProcStats::stop(pen);
        const QByteArray told = pen.readAllStandardOutput().trimmed();
        const int received = told.split('\n').last().split(' ').last().toInt();
        // Qt folds moves that queue up on a busy machine, in either program;
        // the stroke must have reached this window all the same.
        if (received < int(run.path.size() - 1) / 2)
            return fail("the minimal pen program missed the moves");
        return us;
    }

    void stop() { ProcStats::stop(program); }
    int moves() const { return int(run.path.size() - 1); }
    bool failed = false;

private:
    double fail(const char *why)
    {
        std::printf("failed: %s\n", why);
        failed = true;
        return -1;
    }

    // The running program takes the action from a second start.
    bool perform(const char *action)
    {
        QProcess remote;
        remote.setProcessEnvironment(env);
        remote.start(QStringLiteral(TAV_PROGRAM),
                     { QStringLiteral("--action"), QString::fromLatin1(action) });
        return remote.waitForFinished(15000) && remote.exitCode() == 0;
    }

    const QProcessEnvironment &env;
    QProcess program;
    XTestInput input;
    FrameWatcher frames, minimalFrames;
    MapWatcher watcher;
    MoveCost::Run run;
};
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    QTemporaryDir dir;
    const QProcessEnvironment env = ProcStats::childEnvironment(dir);
    PenCpu bench(env, option(arguments, QStringLiteral("--moves"), 1000),
                 option(arguments, QStringLiteral("--interval-us"), 2000));
    if (!bench.ready() || !writeSettings(env)) {
        std::printf("bench_pencpu needs an X server (DISPLAY) with XTest, DAMAGE and a window "
                    "manager\n");
        return 1;
    }
    if (!bench.startProgram()) {
        std::printf("the program never showed a captured page\n");
        return 1;
    }
    const std::string pen = "program drawing with the pen", minimal = "minimal Qt pen program",
                      laser = "program with the laser pointer";
    BenchRounds rounds;
    rounds.add(pen, [&] { return bench.inProgram("pen", true); });
    rounds.add(minimal, [&] { return bench.minimal(); });
    rounds.add(laser, [&] { return bench.inProgram("laser-pointer", false); });
    rounds.run(7);
    bench.stop();
    if (bench.failed)
        return 1;
    std::printf("CPU per pointer move, %d moves %d us apart through XTest, every repaint they "
                "cause included: medians (spread) of interleaved rounds\n",
                bench.moves(), option(arguments, QStringLiteral("--interval-us"), 2000));
    rounds.print(pen, "us");
    rounds.print(minimal, "us");
    rounds.print(laser, "us");
    std::printf("pen against the minimal pen program:\n");
    rounds.printRatio(pen, minimal, 1.0);
    std::printf("laser pointer against the pen:\n");
    rounds.printRatio(laser, pen, 1.0);
    return 0;
}
