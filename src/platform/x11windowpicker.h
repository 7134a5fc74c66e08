#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>
#include <qwindowdefs.h>

#include <xcb/xcb.h>

// Finds top-level windows of other clients on the X server, in the server's
// own (device pixel) coordinates. With a reparenting window manager the
// windows stacked on the root are frames; the client inside is the child
// that carries WM_STATE.
class X11WindowPicker
{
public:
    X11WindowPicker(xcb_connection_t *connection, xcb_window_t root);

    // The client whose top-level window is uppermost at pos; 0 when there is
    // none or when it is excluded. Override-redirect windows (menus, tooltips,
    // our own frame outline) are looked through.
    xcb_window_t windowAt(const QPoint &pos, const QList<WId> &excluded) const;
    // The rectangle of the window's top-level ancestor on the root, border
    // included; empty when the window is gone.
    QRect frameRect(xcb_window_t window) const;
    // The clients of all shown top-level windows, uppermost first, without
    // the excluded ones.
    QList<WId> windows(const QList<WId> &excluded) const;
    // _NET_WM_NAME, else WM_NAME; empty when the window has neither.
    QString title(xcb_window_t window) const;

private:
    // Children in stacking order, bottom first.
    QList<xcb_window_t> children(xcb_window_t window) const;
    xcb_window_t parentOf(xcb_window_t window) const;
    xcb_window_t clientOf(xcb_window_t window, int iDepth) const;
    bool hasWmState(xcb_window_t window) const;
    xcb_atom_t intern(const char *name) const;
    QByteArray property(xcb_window_t window, xcb_atom_t name, xcb_atom_t type) const;
    // The client inside a top-level window, or the window itself.
    xcb_window_t clientOrSelf(xcb_window_t topLevel) const;
    // The root's children that are shown, bottom first, with their rectangles.
    QList<QPair<xcb_window_t, QRect>> shownTopLevels() const;

    xcb_connection_t *conn;
    xcb_window_t root;
    xcb_atom_t wmState = XCB_ATOM_NONE;
    xcb_atom_t netWmName = XCB_ATOM_NONE;
    xcb_atom_t utf8String = XCB_ATOM_NONE;
};
