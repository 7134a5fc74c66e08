#include "mapwatcher.h"

#include <QElapsedTimer>

#include <poll.h>

#include <cstdlib>

namespace {
const int mapTimeoutMs = 20000;
}

MapWatcher::MapWatcher()
    : connection(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(connection))
        return;
    root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
}

MapWatcher::~MapWatcher()
{
    xcb_disconnect(connection);
}

void MapWatcher::drain()
{
    sync();
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
        std::free(event);
}

bool MapWatcher::waitForMap(const QByteArray &title)
{
    QSet<xcb_window_t> frames;
    QElapsedTimer limit;
    limit.start();
    while (!limit.hasExpired(mapTimeoutMs) && !xcb_connection_has_error(connection)) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            pollfd fd { xcb_get_file_descriptor(connection), POLLIN, 0 };
            poll(&fd, 1, int(mapTimeoutMs - limit.elapsed()));
            continue;
        }
        const bool mapped = isMapOf(event, title, frames);
        std::free(event);
        if (mapped)
            return true;
    }
    return false;
}

// A round trip: every event caused before it has arrived after it.
void MapWatcher::sync()
{
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

bool MapWatcher::isMapOf(xcb_generic_event_t *event, const QByteArray &title,
                         QSet<xcb_window_t> &frames)
{
    switch (event->response_type & ~0x80) {
    case XCB_REPARENT_NOTIFY: {
        const auto *e = reinterpret_cast<xcb_reparent_notify_event_t *>(event);
        if (titleOf(e->window) == title)
            frames.insert(e->parent);
        return false;
    }
    case XCB_MAP_NOTIFY: {
        const auto *e = reinterpret_cast<xcb_map_notify_event_t *>(event);
        return frames.contains(e->window) || titleOf(e->window) == title;
    }
    default:
        return false;
    }
}

QByteArray MapWatcher::titleOf(xcb_window_t window)
{
    xcb_get_property_reply_t *reply
        = xcb_get_property_reply(connection,
                                 xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                                  XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                 nullptr);
    if (!reply)
        return QByteArray();
    const QByteArray title(static_cast<const char *>(xcb_get_property_value(reply)),
                           xcb_get_property_value_length(reply));
    std::free(reply);
    return title;
}
