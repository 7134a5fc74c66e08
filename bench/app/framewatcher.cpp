#include "framewatcher.h"

#include <xcb/damage.h>

#include <poll.h>

#include <cstdlib>

namespace {
const int activateTimeoutMs = 5000;
}

FrameWatcher::FrameWatcher(const QByteArray &title)
    : title(title)
    , connection(xcb_connect(nullptr, nullptr))
{
    if (xcb_connection_has_error(connection))
        return;
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(connection, &xcb_damage_id);
    auto *version = xcb_damage_query_version_reply(
        connection, xcb_damage_query_version(connection, 1, 1), nullptr);
    if (!damage || !damage->present || !version) {
        std::free(version);
        return;
    }
    std::free(version);
    damageEvent = damage->first_event + XCB_DAMAGE_NOTIFY;
    root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    // Property changes tell when the window manager has activated a window.
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
}

FrameWatcher::~FrameWatcher()
{
    xcb_disconnect(connection);
}

void FrameWatcher::arm()
{
    forgetWatches();
    for (xcb_window_t window : clients())
        watch(window);
    // Round trip, then drop what came before the watch began.
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
        std::free(event);
}

bool FrameWatcher::waitForPainted(const QSize &size, const QElapsedTimer &clock, Moments &moments,
                                  int timeoutMs)
{
    QElapsedTimer limit;
    limit.start();
    while (!limit.hasExpired(timeoutMs) && !xcb_connection_has_error(connection)) {
        xcb_generic_event_t *event = xcb_poll_for_event(connection);
        if (!event) {
            pollfd fd { xcb_get_file_descriptor(connection), POLLIN, 0 };
            poll(&fd, 1, int(timeoutMs - limit.elapsed()));
            continue;
        }
        const bool done = handle(event, size, clock.nsecsElapsed(), moments);
        std::free(event);
        if (done)
            return true;
    }
    return false;
}

QRect FrameWatcher::viewableWindow(const QSize &notOfSize)
{
    for (xcb_window_t window : clients()) {
        auto *geometry
            = xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr);
        auto *at = xcb_translate_coordinates_reply(
            connection, xcb_translate_coordinates(connection, window, root, 0, 0), nullptr);
        QRect rect;
        if (geometry && at)
            rect = QRect(at->dst_x, at->dst_y, geometry->width, geometry->height);
        std::free(geometry);
        std::free(at);
        if (viewable(window) && !rect.isEmpty() && rect.size() != notOfSize)
            return rect;
    }
    return QRect();
}

bool FrameWatcher::activate()
{
    xcb_window_t target = 0;
    for (xcb_window_t window : clients())
        if (viewable(window))
            target = window;
    if (!target)
        return false;
    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = target;
    message.type = atom("_NET_ACTIVE_WINDOW");
    message.data.data32[0] = 2; // from a pager: no focus-stealing rules apply
    message.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, 0, root,
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&message));
    xcb_flush(connection);
    QElapsedTimer limit;
    limit.start();
    while (activeWindow() != target) {
        if (limit.hasExpired(activateTimeoutMs))
            return false;
        // Any event may be the property's change; arm() starts every
        // measurement afresh, so none is kept.
        if (xcb_generic_event_t *event = xcb_poll_for_event(connection)) {
            std::free(event);
            continue;
        }
        pollfd fd { xcb_get_file_descriptor(connection), POLLIN, 0 };
        poll(&fd, 1, int(activateTimeoutMs - limit.elapsed()));
    }
    return true;
}

// Damage reported rectangle by rectangle, so that the painted area adds up.
void FrameWatcher::watch(xcb_window_t window)
{
    if (damages.contains(window))
        return;
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, window, XCB_CW_EVENT_MASK, &mask);
    const uint32_t damage = xcb_generate_id(connection);
    xcb_damage_create(connection, damage, window, XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
    damages.insert(window, damage);
    xcb_flush(connection);
}

void FrameWatcher::forgetWatches()
{
    for (uint32_t damage : std::as_const(damages))
        xcb_damage_destroy(connection, damage);
    damages.clear();
    paintedArea.clear();
    xcb_flush(connection);
}

bool FrameWatcher::handle(xcb_generic_event_t *event, const QSize &size, qint64 now,
                          Moments &moments)
{
    const uint8_t type = event->response_type & ~0x80;
    if (type == XCB_CREATE_NOTIFY) {
        // The title comes later; every new window is watched from its start.
        watch(reinterpret_cast<xcb_create_notify_event_t *>(event)->window);
    } else if (type == XCB_UNMAP_NOTIFY) {
        const auto *e = reinterpret_cast<xcb_unmap_notify_event_t *>(event);
        if (moments.hidden < 0 && e->event == e->window && titled(e->window))
            moments.hidden = now;
    } else if (type == XCB_MAP_NOTIFY) {
        const auto *e = reinterpret_cast<xcb_map_notify_event_t *>(event);
        if (moments.mapped < 0 && e->event == e->window && damages.contains(e->window)
            && titled(e->window))
            moments.mapped = now;
    } else if (type == damageEvent) {
        const auto *e = reinterpret_cast<xcb_damage_notify_event_t *>(event);
        if (QSize(e->geometry.width, e->geometry.height) != size || !titled(e->drawable))
            return false;
        if (moments.firstPaint < 0)
            moments.firstPaint = now;
        QRegion &area = paintedArea[e->drawable];
        area += QRect(e->area.x, e->area.y, e->area.width, e->area.height);
        if ((QRegion(QRect(QPoint(), size)) - area).isEmpty()) {
            moments.painted = now;
            return moments.mapped >= 0;
        }
    }
    return false;
}

bool FrameWatcher::viewable(xcb_window_t window)
{
    auto *attributes = xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr);
    const bool shown = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    return shown;
}

xcb_window_t FrameWatcher::activeWindow()
{
    auto *reply = xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, root, atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 0, 1),
        nullptr);
    xcb_window_t window = 0;
    if (reply && xcb_get_property_value_length(reply) == 4)
        window = *static_cast<const xcb_window_t *>(xcb_get_property_value(reply));
    std::free(reply);
    return window;
}

xcb_atom_t FrameWatcher::atom(const char *name)
{
    auto *reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(qstrlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
    std::free(reply);
    return result;
}

bool FrameWatcher::titled(xcb_window_t window)
{
    auto *reply = xcb_get_property_reply(connection,
                                         xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME,
                                                          XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
                                         nullptr);
    if (!reply)
        return false;
    const QByteArray name(static_cast<const char *>(xcb_get_property_value(reply)),
                          xcb_get_property_value_length(reply));
    std::free(reply);
    return name == title;
}

// The top-level windows of every program and those a window manager's frames hold.
QList<xcb_window_t> FrameWatcher::clients()
{
    QList<xcb_window_t> found;
    QList<xcb_window_t> level { root };
    for (int depth = 0; depth < 2; ++depth) {
        QList<xcb_window_t> next;
        for (xcb_window_t parent : level) {
            auto *tree
                = xcb_query_tree_reply(connection, xcb_query_tree(connection, parent), nullptr);
            if (!tree)
                continue;
            const xcb_window_t *children = xcb_query_tree_children(tree);
            for (int i = 0; i < xcb_query_tree_children_length(tree); ++i)
                next.append(children[i]);
            std::free(tree);
        }
        for (xcb_window_t window : next)
            if (titled(window))
                found.append(window);
        level = next;
    }
    return found;
}
