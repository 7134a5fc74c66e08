#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

// Which modifier bits carry NumLock, Alt and Super on this server. They are
// configurable, so they are read from the modifier and keyboard maps; the
// usual Mod1 and Mod4 stand in for Alt and Super when no key claims them.
struct X11Modifiers
{
    uint16_t numLock = 0;
    uint16_t alt = XCB_MOD_MASK_1;
    uint16_t super = XCB_MOD_MASK_4;

    static X11Modifiers read(xcb_connection_t *conn, xcb_key_symbols_t *symbols);
};
