// Zoom Into Screen: from the command to the first frame of the page painted
// zoomed, beside the capture's own way to a page (the pen chosen on the
// desktop, to the first frame of its page painted), in the same window on
// the X server named by DISPLAY, interleaved in rounds. Both grab the screen
// the same way; the capture delay is set to 0 for both, so the figures are
// the grab, the page and its first frame. Target: at most 1.2 times.
#include "benchrounds.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "mainwindow/drawmodeswitch.h"
#include "mainwindow/livezoom.h"
#include "mainwindow/mainwindow.h"
#include "testenvironment.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <functional>

namespace {
// Sees each paint of the view once it is done.
class PaintWatch : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject *receiver, QEvent *event) override
    {
        const bool handled = QApplication::notify(receiver, event);
        if (event->type() == QEvent::Paint && receiver == view && view->currentPage()
            && (!zoomed || view->zoom() > fitted) && painted < 0)
            painted = clock.nsecsElapsed();
        return handled;
    }

    // Runs `command` and waits for the view's first frame (a zoomed one when
    // asked); milliseconds, or -1 after 10 s.
    double firstFrame(const std::function<void()> &command, bool bZoomed)
    {
        zoomed = bZoomed;
        painted = -1;
        clock.start();
        command();
        while (painted < 0 && clock.elapsed() < 10000)
            processEvents(QEventLoop::WaitForMoreEvents, 5);
        return painted < 0 ? -1 : painted / 1e6;
    }

    MainView *view = nullptr;
    qreal fitted = 1;

private:
    bool zoomed = false;
    qint64 painted = -1;
    QElapsedTimer clock;
};

void waitFor(const std::function<bool()> &done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "xcb");
    PaintWatch app(argc, argv);
    TestEnvironment env;
    ToolKit::reset();
    MainWindow window;
    AppState::instance().captureDelay = 0;
    MainView *view = window.view();
    app.view = view;
    const auto desktop = [&window, view] {
        waitFor([&window, view] {
            return !window.modes()->isDrawMode() && view->document().pageCount() == 0;
        });
    };
    bool failed = false;
    BenchRounds rounds;
    rounds.add("pen on the desktop to the captured page's first frame", [&] {
        const double ms = app.firstFrame([&window] { window.slot_Pen(); }, false);
        app.fitted = view->zoom();
        window.slot_Mouse();
        view->document().clear();
        desktop();
        failed = failed || ms < 0;
        return ms;
    });
    rounds.add("Zoom Into Screen to the first zoomed frame", [&] {
        const double ms = app.firstFrame([&window] { window.slot_LiveZoom(); }, true);
        waitFor([&window] { return !window.liveZoom()->isAnimating(); });
        failed = failed || ms < 0 || view->zoom() != 2 * app.fitted;
        window.liveZoom()->end();
        desktop();
        return ms;
    });
    rounds.run(9);
    if (failed) {
        std::printf("bench_livezoom: a page never showed (needs an X server in DISPLAY)\n");
        return 1;
    }
    const QSize size = window.size();
    std::printf("zoom into the screen on a %d x %d screen (capture delay 0): medians (spread) of "
                "interleaved rounds\n",
                size.width(), size.height());
    rounds.print("pen on the desktop to the captured page's first frame");
    rounds.print("Zoom Into Screen to the first zoomed frame");
    rounds.printRatio("Zoom Into Screen to the first zoomed frame",
                      "pen on the desktop to the captured page's first frame", 1.2);
    return 0;
}
