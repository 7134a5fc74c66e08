#pragma once

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

class MainWindow;
class ScreenGrab;

// Moves the program between its two modes and owns which one it is in. On the
// desktop the main window is hidden and the toolbar floats as a window of its
// own; over a page the main window covers one screen, stays on top and holds
// the toolbar. Live desktop lets the running desktop show through the page.
//
// With live desktop, leaving a page takes a moment (Leaving): the hidden
// toolbar must be off the translucent window before it goes. A command that
// needs the desktop never waits for it in place: it hands its rest over to
// whenOnDesktop(), and the commands handed over run one after another, each
// on the desktop, never one inside another.
class DrawModeSwitch : public QObject
{
    Q_OBJECT
public:
    enum class State { Desktop, Drawing, Leaving };

    explicit DrawModeSwitch(MainWindow *pWindow);
    ~DrawModeSwitch() override;

    State state() const { return current; }
    // Leaving still shows the page.
    bool isDrawMode() const { return current != State::Desktop; }
    bool isLiveDesktop() const { return liveDesktop; }
    bool isCompositionAvailable() const { return compositionAvailable; }

    // Switches at once; entering drawing while leaving gives the leave up,
    // and with it the commands waiting for the desktop.
    void setDrawMode(bool bDrawMode);
    // From a page: to the desktop, after the moment live desktop needs.
    void leaveDrawing();
    // Runs then() on the desktop with the mouse chosen: at once there, else
    // once a page has been left (choosing the mouse leaves it), and always
    // after the commands handed over before it. A leave that has not ended
    // by the deadline is finished at once, so that no page stays covering the
    // screen without its toolbar.
    void whenOnDesktop(std::function<void()> then);
    // For a dialog whose caller needs its answer before going on (saving
    // before the program closes): the desktop at once, without the moment.
    void leaveNow();
    void toggleLiveDesktop();
    // A drawing tool chosen on the desktop starts on a fresh capture of the
    // screen, taken once the toolbar is out of the picture.
    void startCapture();
    // After the delay: once the desktop's picture can be had, the page.
    void finishCapture();
    // From the desktop, page commands bring back the last drawing tool and
    // the drawing window.
    void enterFromDesktop();
    // A captured page whose picture file the disk refused.
    void reportUnwrittenPicture();

    static constexpr int LeaveDelayMs = 50;
    static constexpr int LeaveDeadlineMs = 3000;

Q_SIGNALS:
    void drawModeChanged(bool bDrawMode);
    void liveDesktopChanged(bool bLive);
    // A capture started by startCapture() made its page (its picture set),
    // or was given up.
    void captureEnded(bool bCaptured);

private:
    void showDesktop();
    void showPage();
    void runWaiting();
    bool reachDesktop();
    void captureIntoPage();
    void cancelCapture();

    MainWindow *window;
    State current = State::Desktop;
    bool liveDesktop = false;
    bool compositionAvailable = false;
    // Ends a live leave; the deadline ends one that stalled.
    QTimer leaveDelay;
    QTimer leaveDeadline;
    std::deque<std::function<void()>> waiting;
    bool runningWaiting = false;
    // The capture's grab, made ready while the capture delay runs.
    std::unique_ptr<ScreenGrab> grab;
};
