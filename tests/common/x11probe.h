#pragma once

#include <QByteArray>
#include <QGuiApplication>
#include <QList>
#include <QRect>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

// Reads window-manager state straight from the X server, so that tests check
// what the server and the window manager did rather than what Qt believes.
class X11Probe
{
public:
    X11Probe()
    {
        conn = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
        root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    }

    xcb_connection_t *connection() const { return conn; }
    xcb_window_t rootWindow() const { return root; }

    xcb_atom_t atom(const char *name) const
    {
        auto *reply = xcb_intern_atom_reply(
            conn, xcb_intern_atom(conn, 0, uint16_t(qstrlen(name)), name), nullptr);
        const xcb_atom_t result = reply ? reply->atom : XCB_ATOM_NONE;
        std::free(reply);
        return result;
    }

    // Whether a compositing manager runs on the default screen.
    bool isComposited() const
    {
        auto *reply = xcb_get_selection_owner_reply(
            conn, xcb_get_selection_owner(conn, atom("_NET_WM_CM_S0")), nullptr);
        const bool owned = reply && reply->owner != XCB_NONE;
        std::free(reply);
        return owned;
    }

    QList<quint32> cardinals(xcb_window_t window, const char *property, xcb_atom_t type) const
    {
        QList<quint32> values;
        auto *reply = xcb_get_property_reply(
            conn, xcb_get_property(conn, 0, window, atom(property), type, 0, 1024), nullptr);
        if (!reply)
            return values;
        const auto *data = static_cast<const quint32 *>(xcb_get_property_value(reply));
        const int count = xcb_get_property_value_length(reply) / 4;
        for (int i = 0; i < count; ++i)
            values.append(data[i]);
        std::free(reply);
        return values;
    }

    bool hasNetWmState(xcb_window_t window, const char *state) const
    {
        return cardinals(window, "_NET_WM_STATE", XCB_ATOM_ATOM).contains(atom(state));
    }

    // Position of a client window in the window manager's stacking order
    // (bottom first), or -1.
    int stackingIndex(xcb_window_t window) const
    {
        return int(cardinals(root, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW).indexOf(window));
    }

    // Whether the window and all its ancestors are mapped: a window manager
    // lists a client before it maps it, and a click then goes to what lies
    // below.
    bool isViewable(xcb_window_t window) const
    {
        auto *reply = xcb_get_window_attributes_reply(conn, xcb_get_window_attributes(conn, window),
                                                      nullptr);
        const bool viewable = reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(reply);
        return viewable;
    }

    // Whether a client other than `except` is shown exactly over `area`.
    bool clientCovers(const QRect &area, xcb_window_t except = XCB_NONE) const
    {
        const QList<quint32> clients
            = cardinals(root, "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        return std::any_of(clients.cbegin(), clients.cend(), [&](quint32 client) {
            return client != except && rootGeometry(client) == area && isViewable(client);
        });
    }

    // Mapped override-redirect windows: popup menus and tooltips.
    QList<xcb_window_t> popups() const
    {
        QList<xcb_window_t> found;
        auto *tree = xcb_query_tree_reply(conn, xcb_query_tree(conn, root), nullptr);
        if (!tree)
            return found;
        const xcb_window_t *children = xcb_query_tree_children(tree);
        for (int i = 0; i < xcb_query_tree_children_length(tree); ++i) {
            auto *a = xcb_get_window_attributes_reply(
                conn, xcb_get_window_attributes(conn, children[i]), nullptr);
            if (a && a->override_redirect && a->map_state == XCB_MAP_STATE_VIEWABLE)
                found.append(children[i]);
            std::free(a);
        }
        std::free(tree);
        return found;
    }

    QRect rootGeometry(xcb_window_t window) const
    {
        auto *geometry = xcb_get_geometry_reply(conn, xcb_get_geometry(conn, window), nullptr);
        auto *translated = xcb_translate_coordinates_reply(
            conn, xcb_translate_coordinates(conn, window, root, 0, 0), nullptr);
        QRect rect;
        if (geometry && translated)
            rect = QRect(translated->dst_x, translated->dst_y, geometry->width, geometry->height);
        std::free(geometry);
        std::free(translated);
        return rect;
    }

private:
    xcb_connection_t *conn = nullptr;
    xcb_window_t root = 0;
};
