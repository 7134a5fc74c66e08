#pragma once

#include <cstdint>

// Settings keep Windows virtual-key codes on every platform, so that a
// settings file moves between systems unchanged; X11 needs key symbols.
class VirtualKeys
{
public:
    // The X key symbol of a virtual-key code, or 0 when the code has none
    // (modifier keys, mouse buttons, unassigned codes).
    static uint32_t toKeySym(int iVirtualKey);
};
