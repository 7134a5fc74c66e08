#include "x11windowpicker.h"

#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

struct FreeReply
{
    void operator()(void *p) const { std::free(p); }
};
template<typename T>
using Reply = std::unique_ptr<T, FreeReply>;

// How far below a frame the client may sit (frame, then a decoration parent).
constexpr int ClientSearchDepth = 3;

QRect outerRect(const xcb_get_geometry_reply_t &g)
{
    return QRect(g.x, g.y, g.width + 2 * g.border_width, g.height + 2 * g.border_width);
}

} // namespace

X11WindowPicker::X11WindowPicker(xcb_connection_t *connection, xcb_window_t rootWindow)
    : conn(connection)
    , root(rootWindow)
    , wmState(intern("WM_STATE"))
    , netWmName(intern("_NET_WM_NAME"))
    , utf8String(intern("UTF8_STRING"))
{
}

// An atom nobody interned yet is on no window: it is not created, only NONE.
xcb_atom_t X11WindowPicker::intern(const char *name) const
{
    Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        conn, xcb_intern_atom(conn, 1, uint16_t(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QByteArray X11WindowPicker::property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const
{
    if (name == XCB_ATOM_NONE)
        return {};
    // A title longer than 4 KiB is cut: a reader would not speak it all.
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        conn, xcb_get_property(conn, 0, window, name, type, 0, 1024), nullptr));
    if (!reply || reply->type != type || reply->format != 8)
        return {};
    return QByteArray(static_cast<const char *>(xcb_get_property_value(reply.get())),
                      xcb_get_property_value_length(reply.get()));
}

QList<xcb_window_t> X11WindowPicker::children(xcb_window_t window) const
{
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr));
    QList<xcb_window_t> result;
    if (!tree)
        return result;
    const xcb_window_t *ids = xcb_query_tree_children(tree.get());
    const int count = xcb_query_tree_children_length(tree.get());
    result.reserve(count);
    for (int i = 0; i < count; ++i)
        result.append(ids[i]);
    return result;
}

xcb_window_t X11WindowPicker::parentOf(xcb_window_t window) const
{
    Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(conn, xcb_query_tree(conn, window), nullptr));
    return tree ? tree->parent : xcb_window_t(XCB_WINDOW_NONE);
}

bool X11WindowPicker::hasWmState(xcb_window_t window) const
{
    if (wmState == XCB_ATOM_NONE)
        return false;
    Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        conn, xcb_get_property(conn, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
        nullptr));
    return reply && reply->type != XCB_ATOM_NONE;
}

// Without a window manager nothing carries WM_STATE: the top-level window is
// then the client itself.
xcb_window_t X11WindowPicker::clientOf(xcb_window_t window, int iDepth) const
{
    if (hasWmState(window))
        return window;
    if (iDepth == 0)
        return XCB_WINDOW_NONE;
    const QList<xcb_window_t> inside = children(window);
    for (auto it = inside.crbegin(); it != inside.crend(); ++it) {
        const xcb_window_t client = clientOf(*it, iDepth - 1);
        if (client != XCB_WINDOW_NONE)
            return client;
    }
    return XCB_WINDOW_NONE;
}

QList<QPair<xcb_window_t, QRect>> X11WindowPicker::shownTopLevels() const
{
    const QList<xcb_window_t> stack = children(root);
    // All requests first, then the replies: one round trip for the lot.
    QList<xcb_get_window_attributes_cookie_t> attributeCookies;
    QList<xcb_get_geometry_cookie_t> geometryCookies;
    for (xcb_window_t window : stack) {
        attributeCookies.append(xcb_get_window_attributes(conn, window));
        geometryCookies.append(xcb_get_geometry(conn, window));
    }
    QList<QPair<xcb_window_t, QRect>> shown;
    for (int i = 0; i < stack.size(); ++i) {
        Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(conn, attributeCookies.at(i), nullptr));
        Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(conn, geometryCookies.at(i), nullptr));
        if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE
            || attributes->override_redirect || attributes->_class == XCB_WINDOW_CLASS_INPUT_ONLY)
            continue;
        shown.append({ stack.at(i), outerRect(*geometry) });
    }
    return shown;
}

xcb_window_t X11WindowPicker::windowAt(const QPoint &pos, const QList<WId> &excluded) const
{
    const QList<QPair<xcb_window_t, QRect>> shown = shownTopLevels();
    for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
        if (!it->second.contains(pos))
            continue;
        const xcb_window_t client = clientOrSelf(it->first);
        if (excluded.contains(WId(client)) || excluded.contains(WId(it->first)))
            return XCB_WINDOW_NONE;
        return client;
    }
    return XCB_WINDOW_NONE;
}

QRect X11WindowPicker::frameRect(xcb_window_t window) const
{
    xcb_window_t topLevel = window;
    for (xcb_window_t parent = parentOf(topLevel); parent != root; parent = parentOf(topLevel)) {
        if (parent == XCB_WINDOW_NONE)
            return QRect();
        topLevel = parent;
    }
    Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(conn, xcb_get_geometry(conn, topLevel), nullptr));
    return geometry ? outerRect(*geometry) : QRect();
}

xcb_window_t X11WindowPicker::clientOrSelf(xcb_window_t topLevel) const
{
    const xcb_window_t client = clientOf(topLevel, ClientSearchDepth);
    return client == XCB_WINDOW_NONE ? topLevel : client;
}

QList<WId> X11WindowPicker::windows(const QList<WId> &excluded) const
{
    const QList<QPair<xcb_window_t, QRect>> shown = shownTopLevels();
    QList<WId> result;
    for (auto it = shown.crbegin(); it != shown.crend(); ++it) {
        const WId client = clientOrSelf(it->first);
        if (!excluded.contains(client) && !excluded.contains(WId(it->first)))
            result.append(client);
    }
    return result;
}

QString X11WindowPicker::title(xcb_window_t window) const
{
    const QByteArray utf8 = property(window, netWmName, utf8String);
    if (!utf8.isEmpty())
        return QString::fromUtf8(utf8);
    return QString::fromLatin1(property(window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING));
}
