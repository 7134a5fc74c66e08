#pragma once

#include <QPoint>
#include <QSize>

#include <xcb/xcb.h>

#include <vector>

// Sends pointer input through the XTest extension of the X server named by
// DISPLAY, as a real mouse would: the programs receive it like any other
// device's input, and this client costs next to nothing per event, unlike a
// tool started per command.
class XTestInput
{
public:
    XTestInput();
    ~XTestInput();
    XTestInput(const XTestInput &) = delete;
    XTestInput &operator=(const XTestInput &) = delete;

    bool connected() const { return root != 0; }
    // The root window's size in device pixels.
    QSize screenSize() const { return size; }

    void moveTo(const QPoint &p);
    void press(int button = 1);
    void release(int button = 1);
    // One move every `intervalUs`, each sent at its own deadline counted from
    // the first, so that a late wake-up does not stretch the rest.
    void movePaced(const std::vector<QPoint> &points, int intervalUs);
    // A round trip: every event sent before has been handled by the server.
    void sync();

private:
    void send(uint8_t type, uint8_t detail, const QPoint &p = QPoint());

    xcb_connection_t *connection;
    xcb_window_t root = 0;
    QSize size;
};
