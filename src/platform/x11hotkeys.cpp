#include "x11hotkeys.h"

#include "hotkeyevents.h"
#include "virtualkeys.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The XKB notifications that announce a new keyboard map; servers with XKB
// send them instead of the core MappingNotify to clients that follow XKB,
// as Qt does.
constexpr uint8_t XkbNewKeyboardNotify = 0;
constexpr uint8_t XkbMapNotify = 1;
// Modifier bits of a key event; the bits above are mouse buttons.
constexpr uint16_t ModifierBits = 0xFF;

uint8_t xkbFirstEvent(xcb_connection_t *conn)
{
    const char name[] = "XKEYBOARD";
    auto *reply = xcb_query_extension_reply(
        conn, xcb_query_extension(conn, uint16_t(std::strlen(name)), name), nullptr);
    const uint8_t first = reply && reply->present ? reply->first_event : 0;
    std::free(reply);
    return first;
}

} // namespace

X11HotKeys::X11HotKeys(xcb_connection_t *connection, xcb_window_t rootWindow, HotKeyEvents &events)
    : conn(connection)
    , root(rootWindow)
    , events(events)
    , xkbEvent(xkbFirstEvent(connection))
    , symbols(xcb_key_symbols_alloc(connection))
    , bits(X11Modifiers::read(connection, symbols))
{
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKeys::~X11HotKeys()
{
    // Without the application the connection is closed, and the server has
    // already dropped the grabs with it.
    if (QCoreApplication::instance()) {
        for (auto &entry : hotKeys)
            ungrab(entry.second);
    }
    xcb_key_symbols_free(symbols);
}

bool X11HotKeys::add(int iId, const HotKeyRecord &record)
{
    remove(iId);
    HotKey hotKey;
    hotKey.record = record;
    if (!grab(iId, hotKey))
        return false;
    hotKeys[iId] = hotKey;
    return true;
}

void X11HotKeys::remove(int iId)
{
    const auto found = hotKeys.find(iId);
    if (found == hotKeys.end())
        return;
    ungrab(found->second);
    hotKeys.erase(found);
}

// All or nothing: a combination another client holds in any lock state is
// released again, so that it never fires only with NumLock on.
bool X11HotKeys::grab(int iId, HotKey &hotKey)
{
    const xcb_keysym_t keySym = VirtualKeys::toKeySym(hotKey.record.virtualKey);
    hotKey.modifiers = modifiersOf(hotKey.record);
    hotKey.masks = lockVariants(hotKey.modifiers);
    hotKey.keycodes = keySym ? keycodesOf(keySym) : QList<xcb_keycode_t>();
    if (hotKey.keycodes.isEmpty() || heldByAnother(iId, hotKey)) {
        hotKey.keycodes.clear();
        return false;
    }
    QList<xcb_void_cookie_t> cookies;
    for (const xcb_keycode_t keycode : std::as_const(hotKey.keycodes)) {
        for (const uint16_t mask : std::as_const(hotKey.masks))
            cookies.append(xcb_grab_key_checked(conn, 0, root, mask, keycode, XCB_GRAB_MODE_ASYNC,
                                                XCB_GRAB_MODE_ASYNC));
    }
    bool granted = true;
    for (const xcb_void_cookie_t &cookie : std::as_const(cookies)) {
        if (xcb_generic_error_t *error = xcb_request_check(conn, cookie)) {
            granted = false;
            std::free(error);
        }
    }
    if (!granted)
        ungrab(hotKey);
    return granted;
}

// Releases only this client's grabs, never another's.
void X11HotKeys::ungrab(HotKey &hotKey)
{
    for (const xcb_keycode_t keycode : std::as_const(hotKey.keycodes)) {
        for (const uint16_t mask : std::as_const(hotKey.masks))
            xcb_ungrab_key(conn, keycode, root, mask);
    }
    hotKey.keycodes.clear();
    xcb_flush(conn);
}

// The server lets one client grab the same combination twice, and then only
// one identifier could fire; the second is refused as if another program held
// the combination.
bool X11HotKeys::heldByAnother(int iId, const HotKey &hotKey) const
{
    for (const auto &[id, other] : hotKeys) {
        if (id == iId || other.modifiers != hotKey.modifiers)
            continue;
        for (const xcb_keycode_t keycode : other.keycodes) {
            if (hotKey.keycodes.contains(keycode))
                return true;
        }
    }
    return false;
}

uint16_t X11HotKeys::modifiersOf(const HotKeyRecord &record) const
{
    uint16_t modifiers = 0;
    if (record.ctrl)
        modifiers |= XCB_MOD_MASK_CONTROL;
    if (record.shift)
        modifiers |= XCB_MOD_MASK_SHIFT;
    if (record.alt)
        modifiers |= bits.alt;
    if (record.win)
        modifiers |= bits.super;
    return modifiers;
}

// Keys carrying the symbol unshifted come first: on a US layout "less" is
// also the shifted comma, which must not turn Ctrl+comma into the hotkey.
QList<xcb_keycode_t> X11HotKeys::keycodesOf(xcb_keysym_t keySym) const
{
    QList<xcb_keycode_t> unshifted;
    QList<xcb_keycode_t> any;
    xcb_keycode_t *found = xcb_key_symbols_get_keycode(symbols, keySym);
    for (const xcb_keycode_t *k = found; k && *k != XCB_NO_SYMBOL; ++k) {
        if (!any.contains(*k))
            any.append(*k);
        if (xcb_key_symbols_get_keysym(symbols, *k, 0) == keySym && !unshifted.contains(*k))
            unshifted.append(*k);
    }
    std::free(found);
    return unshifted.isEmpty() ? any : unshifted;
}

QList<uint16_t> X11HotKeys::lockVariants(uint16_t modifiers) const
{
    QList<uint16_t> masks { modifiers, uint16_t(modifiers | XCB_MOD_MASK_LOCK) };
    if (bits.numLock) {
        masks.append(modifiers | bits.numLock);
        masks.append(modifiers | bits.numLock | XCB_MOD_MASK_LOCK);
    }
    return masks;
}

bool X11HotKeys::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    auto *event = static_cast<xcb_generic_event_t *>(message);
    const uint8_t type = event->response_type & ~0x80;
    const bool keysMapped = type == XCB_MAPPING_NOTIFY
        && reinterpret_cast<const xcb_mapping_notify_event_t *>(event)->request
            != XCB_MAPPING_POINTER;
    const bool keyboardMapped = xkbEvent && type == xkbEvent
        && (event->pad0 == XkbNewKeyboardNotify || event->pad0 == XkbMapNotify);
    if (type == XCB_KEY_PRESS)
        keyPressed(reinterpret_cast<const xcb_key_press_event_t *>(event));
    else if (keysMapped || keyboardMapped)
        keyboardChanged();
    // Qt keeps its own keyboard map and must see these too.
    return false;
}

void X11HotKeys::keyPressed(const xcb_key_press_event_t *event)
{
    if (event->event != root)
        return;
    const uint16_t state = event->state & ModifierBits & ~(XCB_MOD_MASK_LOCK | bits.numLock);
    const auto match = std::find_if(hotKeys.cbegin(), hotKeys.cend(), [&](const auto &entry) {
        return entry.second.modifiers == state && entry.second.keycodes.contains(event->detail);
    });
    if (match != hotKeys.cend())
        emit events.signal_HotKey(match->first);
}

// Keys may have moved and modifier bits changed. The new grabs are taken
// before the old ones go: the server announces a keyboard with the first key
// from another device, often the hotkey's own modifier, and a press in a gap
// between the two would reach the focused window instead.
void X11HotKeys::keyboardChanged()
{
    xcb_key_symbols_free(symbols);
    symbols = xcb_key_symbols_alloc(conn);
    bits = X11Modifiers::read(conn, symbols);
    const std::map<int, HotKey> before = hotKeys;
    for (auto &entry : hotKeys)
        entry.second.keycodes.clear();
    for (auto &[id, hotKey] : hotKeys)
        grab(id, hotKey);
    for (const auto &entry : before)
        releaseUnheld(entry.second);
    xcb_flush(conn);
}

// Lets go of the combinations of a former grab that no hotkey holds now.
void X11HotKeys::releaseUnheld(const HotKey &former)
{
    for (const xcb_keycode_t keycode : former.keycodes) {
        for (const uint16_t mask : former.masks) {
            const bool held = std::any_of(hotKeys.cbegin(), hotKeys.cend(), [&](const auto &entry) {
                return entry.second.keycodes.contains(keycode) && entry.second.masks.contains(mask);
            });
            if (!held)
                xcb_ungrab_key(conn, keycode, root, mask);
        }
    }
}
