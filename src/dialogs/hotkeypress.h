#pragma once

#include "platform/hotkeyrecord.h"

class QKeyEvent;
class VirtualKeyTable;

// What a key press in a hotkey editor means. A global hotkey takes its key
// from every other program, so the keys that drive a dialog are never
// recorded alone: Return and Enter accept the dialog, Escape cancels the
// edit, Backspace clears the hotkey and Tab moves on. A key that other
// programs type with (anything but a function key, alone or with Shift
// only) is asked about before it is taken.
class HotKeyPress
{
public:
    enum class Meaning {
        // A modifier or lock key alone: the hotkey stays as it is.
        Nothing,
        // Return and Enter (the dialog accepts), Tab (the focus moves on).
        ToDialog,
        CancelEdit,
        Clear,
        Take,
        Ask,
    };

    HotKeyPress(const QKeyEvent &event, const VirtualKeyTable &table);

    Meaning meaning() const { return what; }
    // The hotkey that Take and Ask stand for: the modifiers held and the
    // key, or no key when the table does not offer it.
    const HotKeyRecord &record() const { return typed; }

private:
    static Meaning dialogKey(int iQtKey);

    HotKeyRecord typed;
    Meaning what = Meaning::Nothing;
};
