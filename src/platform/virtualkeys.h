#pragma once

#include <QtCore/qnamespace.h>

#include <cstdint>

class QKeyEvent;

// Settings keep Windows virtual-key codes on every platform, so that a
// settings file moves between systems unchanged; X11 needs key symbols, and
// the hotkey editor gets Qt key events.
class VirtualKeys
{
public:
#ifndef Q_OS_WIN
    // The X key symbol of a virtual-key code, or 0 when the code has none
    // (modifier keys, mouse buttons, unassigned codes).
    static uint32_t toKeySym(int iVirtualKey);
#endif

    // The virtual-key code of a key press, or 0 when the key has none.
    static int fromKeyEvent(const QKeyEvent &event);
    // Qt names the character a key produced, so a symbol typed with Shift is
    // taken back to the key that carries it on a US layout, the layout the
    // punctuation codes describe.
    static int fromQtKey(int iQtKey, Qt::KeyboardModifiers modifiers);
};
