#include "x11platform.h"

#include "nativecoordinates.h"
#include "windowframeoutline.h"
#include "x11hotkeys.h"
#include "x11screengrab.h"
#include "x11windowpicker.h"

#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <cstdlib>

namespace {
// _NET_WM_STATE client-message action.
constexpr uint32_t NetWmStateAdd = 1;
// Source indications: a normal application, and a pager or taskbar acting
// for the user.
constexpr uint32_t SourceApplication = 1;
constexpr uint32_t SourceUser = 2;
} // namespace

X11Platform::X11Platform(xcb_connection_t *connection)
    : conn(connection)
    , picker(std::make_unique<X11WindowPicker>(connection, rootWindow()))
{
}

X11Platform::~X11Platform() = default;

QString X11Platform::name() const
{
    return QStringLiteral("x11");
}

xcb_window_t X11Platform::rootWindow() const
{
    return xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
}

xcb_atom_t X11Platform::atom(const QByteArray &name) const
{
    xcb_intern_atom_reply_t *reply = xcb_intern_atom_reply(
        conn, xcb_intern_atom(conn, 0, uint16_t(name.size()), name.constData()), nullptr);
    if (!reply)
        return XCB_ATOM_NONE;
    const xcb_atom_t result = reply->atom;
    std::free(reply);
    return result;
}

// A mapped window asks the window manager through a client message; an
// unmapped one gets the property, which the manager reads when it maps it.
void X11Platform::addNetWmState(QWidget *pWidget, const QList<xcb_atom_t> &states)
{
    const xcb_window_t window = xcb_window_t(pWidget->winId());
    const xcb_atom_t netWmState = atom("_NET_WM_STATE");
    if (!pWidget->isVisible()) {
        xcb_change_property(conn, XCB_PROP_MODE_APPEND, window, netWmState, XCB_ATOM_ATOM, 32,
                            uint32_t(states.size()), states.constData());
        xcb_flush(conn);
        return;
    }
    for (int i = 0; i < states.size(); i += 2) {
        xcb_client_message_event_t event = {};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 32;
        event.window = window;
        event.type = netWmState;
        event.data.data32[0] = NetWmStateAdd;
        event.data.data32[1] = states.at(i);
        event.data.data32[2] = i + 1 < states.size() ? states.at(i + 1) : 0;
        event.data.data32[3] = SourceApplication;
        sendToWindowManager(event);
    }
    xcb_flush(conn);
}

void X11Platform::sendToWindowManager(xcb_client_message_event_t event)
{
    xcb_send_event(conn, 0, rootWindow(),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char *>(&event));
}

void X11Platform::setTopmost(QWidget *pWidget)
{
    addNetWmState(pWidget, { atom("_NET_WM_STATE_ABOVE") });
    const uint32_t stackMode = XCB_STACK_MODE_ABOVE;
    xcb_configure_window(conn, xcb_window_t(pWidget->winId()), XCB_CONFIG_WINDOW_STACK_MODE,
                         &stackMode);
    xcb_flush(conn);
}

// Asked as a pager would: the window is what the user just chose.
void X11Platform::activate(QWidget *pWidget)
{
    xcb_client_message_event_t event = {};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = xcb_window_t(pWidget->winId());
    event.type = atom("_NET_ACTIVE_WINDOW");
    event.data.data32[0] = SourceUser;
    event.data.data32[1] = XCB_CURRENT_TIME;
    sendToWindowManager(event);
    xcb_flush(conn);
}

void X11Platform::setToolWindowStyle(QWidget *pWidget)
{
    addNetWmState(pWidget,
                  { atom("_NET_WM_STATE_SKIP_TASKBAR"), atom("_NET_WM_STATE_SKIP_PAGER") });
}

std::unique_ptr<ScreenGrab> X11Platform::prepareGrab(QScreen *screen)
{
    return std::make_unique<X11ScreenGrab>(
        conn, screen, [this, target = QPointer<QScreen>(screen)] { return grabScreen(target); });
}

bool X11Platform::isCompositionAvailable()
{
    const int screen = 0;
    const xcb_atom_t selection = atom(QByteArray("_NET_WM_CM_S") + QByteArray::number(screen));
    xcb_get_selection_owner_reply_t *reply
        = xcb_get_selection_owner_reply(conn, xcb_get_selection_owner(conn, selection), nullptr);
    if (!reply)
        return false;
    const bool owned = reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

bool X11Platform::registerHotKey(int iId, const HotKeyRecord &record)
{
    if (!hotKeys)
        hotKeys = std::make_unique<X11HotKeys>(conn, rootWindow(), hotKeyEvents());
    return hotKeys->add(iId, record);
}

void X11Platform::unregisterHotKey(int iId)
{
    if (hotKeys)
        hotKeys->remove(iId);
}

WId X11Platform::topLevelWindowAt(const QPoint &globalPos, const QList<WId> &excluded)
{
    return picker->windowAt(NativeCoordinates::toNative(globalPos), excluded);
}

QRect X11Platform::windowFrameRect(WId window)
{
    return picker->frameRect(xcb_window_t(window));
}

QList<WId> X11Platform::topLevelWindows(const QList<WId> &excluded)
{
    return picker->windows(excluded);
}

QString X11Platform::windowTitle(WId window)
{
    return picker->title(xcb_window_t(window));
}

bool X11Platform::showWindowFrame(WId window)
{
    const QRect native = windowFrameRect(window);
    if (native.isEmpty())
        return false;
    const QRect rect = NativeCoordinates::fromNative(native);
    // Made for each pick and dropped with it, so that no window of ours
    // outlives the application object.
    if (!outline)
        outline = std::make_unique<WindowFrameOutline>();
    outline->show(rect);
    outlinedWindow = window;
    return true;
}

void X11Platform::hideWindowFrame(WId window)
{
    if (!outline || window != outlinedWindow)
        return;
    outline.reset();
    outlinedWindow = 0;
}
