#pragma once

#include "platform/hotkeyrecord.h"
#include "x11modifiers.h"

#include <QAbstractNativeEventFilter>
#include <QList>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <map>

class HotKeyEvents;

// Global hotkeys on X11: passive key grabs on the root window, read back from
// Qt's own connection through a native event filter. A grab is taken for every
// state of CapsLock and NumLock, since the server compares those bits too.
// Keyboard-map changes move the grabs to the keys that now carry the symbols.
class X11HotKeys : public QAbstractNativeEventFilter
{
public:
    X11HotKeys(xcb_connection_t *connection, xcb_window_t rootWindow, HotKeyEvents &events);
    ~X11HotKeys() override;

    bool add(int iId, const HotKeyRecord &record);
    void remove(int iId);

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

private:
    struct HotKey
    {
        HotKeyRecord record;
        uint16_t modifiers = 0;
        // Empty while not grabbed.
        QList<xcb_keycode_t> keycodes;
        QList<uint16_t> masks;
    };

    bool grab(int iId, HotKey &hotKey);
    void ungrab(HotKey &hotKey);
    void releaseUnheld(const HotKey &former);
    bool heldByAnother(int iId, const HotKey &hotKey) const;
    uint16_t modifiersOf(const HotKeyRecord &record) const;
    QList<xcb_keycode_t> keycodesOf(xcb_keysym_t keySym) const;
    QList<uint16_t> lockVariants(uint16_t modifiers) const;
    void keyPressed(const xcb_key_press_event_t *event);
    void keyboardChanged();

    xcb_connection_t *conn;
    xcb_window_t root;
    HotKeyEvents &events;
    // First event code of the keyboard extension, 0 without it.
    uint8_t xkbEvent;
    xcb_key_symbols_t *symbols;
    X11Modifiers bits;
    std::map<int, HotKey> hotKeys;
};
