#include "x11modifiers.h"

#include <X11/keysym.h>

#include <cstdlib>

namespace {

// Mod1 to Mod5; Shift, Lock and Control are fixed by the protocol.
constexpr int FirstFreeModifier = 3;
constexpr int ModifierCount = 8;
// Levels worth looking at: unshifted and shifted, in two groups.
constexpr int Columns = 4;

bool carries(xcb_key_symbols_t *symbols, xcb_keycode_t keycode, xcb_keysym_t a, xcb_keysym_t b)
{
    for (int column = 0; column < Columns; ++column) {
        const xcb_keysym_t sym = xcb_key_symbols_get_keysym(symbols, keycode, column);
        if (sym == a || sym == b)
            return true;
    }
    return false;
}

} // namespace

X11Modifiers X11Modifiers::read(xcb_connection_t *conn, xcb_key_symbols_t *symbols)
{
    X11Modifiers result;
    auto *reply = xcb_get_modifier_mapping_reply(conn, xcb_get_modifier_mapping(conn), nullptr);
    if (!reply)
        return result;
    const xcb_keycode_t *keycodes = xcb_get_modifier_mapping_keycodes(reply);
    const int perModifier = reply->keycodes_per_modifier;
    // The lowest bit wins where a key sits on several modifiers.
    for (int modifier = ModifierCount - 1; modifier >= FirstFreeModifier; --modifier) {
        const auto bit = uint16_t(1 << modifier);
        for (int i = 0; i < perModifier; ++i) {
            const xcb_keycode_t keycode = keycodes[modifier * perModifier + i];
            if (keycode == 0)
                continue;
            if (carries(symbols, keycode, XK_Num_Lock, XK_Num_Lock))
                result.numLock = bit;
            if (carries(symbols, keycode, XK_Alt_L, XK_Alt_R))
                result.alt = bit;
            if (carries(symbols, keycode, XK_Super_L, XK_Super_R))
                result.super = bit;
        }
    }
    std::free(reply);
    return result;
}
