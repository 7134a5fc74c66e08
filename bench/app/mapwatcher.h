#pragma once

#include <QByteArray>
#include <QSet>

#include <xcb/xcb.h>

// Watches the root window of the X server named by DISPLAY for top-level
// windows being mapped, so that a start can be timed from outside the
// program started.
class MapWatcher
{
public:
    MapWatcher();
    ~MapWatcher();
    MapWatcher(const MapWatcher &) = delete;
    MapWatcher &operator=(const MapWatcher &) = delete;

    bool connected() const { return root != 0; }

    // Forgets events of earlier programs.
    void drain();
    // Blocks until a window titled `title` becomes viewable: its window
    // manager frame is mapped, or the window itself when nothing reparents it.
    bool waitForMap(const QByteArray &title);

private:
    void sync();
    bool isMapOf(xcb_generic_event_t *event, const QByteArray &title, QSet<xcb_window_t> &frames);
    QByteArray titleOf(xcb_window_t window);

    xcb_connection_t *connection;
    xcb_window_t root = 0;
};
