#include "xtestinput.h"

#include <xcb/xtest.h>

#include <cstdlib>
#include <ctime>

XTestInput::XTestInput()
    : connection(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(connection))
        return;
    const xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    auto *version
        = xcb_test_get_version_reply(connection, xcb_test_get_version(connection, 2, 2), nullptr);
    if (!version)
        return;
    std::free(version);
    root = screen->root;
    size = QSize(screen->width_in_pixels, screen->height_in_pixels);
}

XTestInput::~XTestInput()
{
    xcb_disconnect(connection);
}

void XTestInput::moveTo(const QPoint &p)
{
    send(XCB_MOTION_NOTIFY, 0, p);
}

void XTestInput::press(int button)
{
    send(XCB_BUTTON_PRESS, uint8_t(button));
}

void XTestInput::release(int button)
{
    send(XCB_BUTTON_RELEASE, uint8_t(button));
}

void XTestInput::movePaced(const std::vector<QPoint> &points, int intervalUs)
{
    timespec deadline;
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    for (const QPoint &p : points) {
        moveTo(p);
        deadline.tv_nsec += long(intervalUs) * 1000;
        while (deadline.tv_nsec >= 1000000000L) {
            deadline.tv_nsec -= 1000000000L;
            ++deadline.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr);
    }
}

void XTestInput::sync()
{
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

void XTestInput::send(uint8_t type, uint8_t detail, const QPoint &p)
{
    if (!root)
        return;
    xcb_test_fake_input(connection, type, detail, XCB_CURRENT_TIME, root, int16_t(p.x()),
                        int16_t(p.y()), 0);
    xcb_flush(connection);
}
