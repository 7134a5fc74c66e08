#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QRect>
#include <QRegion>

#include <xcb/xcb.h>

// Watches another program's windows on the X server named by DISPLAY down to
// the pixels: when one is hidden, when one is mapped and when the program
// has painted it all over, as the server sees the drawing arrive (through
// the DAMAGE extension), so that "on screen" means painted, not just mapped.
class FrameWatcher
{
public:
    // Moments on the caller's clock, in nanoseconds; -1 when not seen.
    struct Moments
    {
        qint64 hidden = -1;
        qint64 mapped = -1;
        qint64 firstPaint = -1;
        qint64 painted = -1;
    };

    explicit FrameWatcher(const QByteArray &title);
    ~FrameWatcher();
    FrameWatcher(const FrameWatcher &) = delete;
    FrameWatcher &operator=(const FrameWatcher &) = delete;

    bool connected() const { return root != 0; }

    // Starts a new watch of every window with the title, and of every window
    // created from now on; forgets what was seen before.
    void arm();
    // Blocks until a window with the title and the given size (device
    // pixels) is mapped and painted all over.
    bool waitForPainted(const QSize &size, const QElapsedTimer &clock, Moments &moments,
                        int timeoutMs = 20000);
    // A viewable window with the title, in root coordinates, that is not of
    // the given size; empty when there is none.
    QRect viewableWindow(const QSize &notOfSize);
    // Asks the window manager to bring a viewable window with the title to
    // the front and focus it, as a pager does (a window manager may keep a
    // new window under the focused one), and waits until it has.
    bool activate();

private:
    void watch(xcb_window_t window);
    void forgetWatches();
    bool handle(xcb_generic_event_t *event, const QSize &size, qint64 now, Moments &moments);
    bool titled(xcb_window_t window);
    QList<xcb_window_t> clients();
    bool viewable(xcb_window_t window);
    xcb_window_t activeWindow();
    xcb_atom_t atom(const char *name);

    const QByteArray title;
    xcb_connection_t *connection;
    xcb_window_t root = 0;
    uint8_t damageEvent = 0;
    QHash<xcb_window_t, uint32_t> damages;
    QHash<xcb_window_t, QRegion> paintedArea;
};
