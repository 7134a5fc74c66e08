#include "hotkeypress.h"

#include "platform/virtualkeys.h"
#include "virtualkeytable.h"

#include <QKeyEvent>

namespace {

// Keys that only modify another key, or lock one, make no hotkey alone.
bool isModifierOrLock(int iKey)
{
    switch (iKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// F1 to F24: no program types with them.
bool isFunctionKey(int iVirtualKey)
{
    return iVirtualKey >= 0x70 && iVirtualKey <= 0x87;
}

} // namespace

HotKeyPress::HotKeyPress(const QKeyEvent &event, const VirtualKeyTable &table)
{
    if (isModifierOrLock(event.key()))
        return;
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    typed.ctrl = modifiers.testFlag(Qt::ControlModifier);
    typed.shift = modifiers.testFlag(Qt::ShiftModifier);
    typed.alt = modifiers.testFlag(Qt::AltModifier);
    typed.win = modifiers.testFlag(Qt::MetaModifier);
    const int code = VirtualKeys::fromKeyEvent(event);
    typed.enabled = table.contains(code);
    typed.virtualKey = typed.enabled ? code : 0;
    // The number pad's Enter carries the keypad flag; it is still Enter alone.
    const bool alone = !typed.ctrl && !typed.shift && !typed.alt && !typed.win;
    what = alone ? dialogKey(event.key()) : Meaning::Take;
    if (what == Meaning::Take && event.key() == Qt::Key_Backtab)
        what = Meaning::ToDialog;
    const bool typing = !typed.ctrl && !typed.alt && !typed.win;
    if (what == Meaning::Take && typed.enabled && typing && !isFunctionKey(code))
        what = Meaning::Ask;
}

HotKeyPress::Meaning HotKeyPress::dialogKey(int iQtKey)
{
    switch (iQtKey) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return Meaning::ToDialog;
    case Qt::Key_Escape:
        return Meaning::CancelEdit;
    case Qt::Key_Backspace:
        return Meaning::Clear;
    default:
        return Meaning::Take;
    }
}
