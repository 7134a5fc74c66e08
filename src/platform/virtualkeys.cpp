#include "virtualkeys.h"

#include <QKeyEvent>

#ifndef Q_OS_WIN
#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#endif

#include <algorithm>
#include <iterator>

namespace {

bool inRange(int value, int first, int last)
{
    return value >= first && value <= last;
}

// The value paired with key, or 0.
template<typename Table>
auto lookUp(const Table &table, int key)
{
    const auto found = std::find_if(std::begin(table), std::end(table),
                                    [key](const auto &p) { return p.from == key; });
    return found != std::end(table) ? found->to : decltype(found->to) {};
}

struct QtPair
{
    int from; // Qt::Key
    int to; // virtual-key code
};

// Keys whose code does not follow from a range of Qt keys.
constexpr QtPair qtKeys[] = {
    { Qt::Key_Backspace, 0x08 },
    { Qt::Key_Tab, 0x09 },
    { Qt::Key_Backtab, 0x09 },
    { Qt::Key_Clear, 0x0C },
    { Qt::Key_Return, 0x0D },
    { Qt::Key_Enter, 0x0D },
    { Qt::Key_Shift, 0x10 },
    { Qt::Key_Control, 0x11 },
    { Qt::Key_Alt, 0x12 },
    { Qt::Key_Pause, 0x13 },
    { Qt::Key_CapsLock, 0x14 },
    { Qt::Key_Escape, 0x1B },
    { Qt::Key_Space, 0x20 },
    { Qt::Key_PageUp, 0x21 },
    { Qt::Key_PageDown, 0x22 },
    { Qt::Key_End, 0x23 },
    { Qt::Key_Home, 0x24 },
    { Qt::Key_Left, 0x25 },
    { Qt::Key_Up, 0x26 },
    { Qt::Key_Right, 0x27 },
    { Qt::Key_Down, 0x28 },
    { Qt::Key_Select, 0x29 },
    { Qt::Key_Printer, 0x2A },
    { Qt::Key_Execute, 0x2B },
    { Qt::Key_Print, 0x2C },
    { Qt::Key_SysReq, 0x2C },
    { Qt::Key_Insert, 0x2D },
    { Qt::Key_Delete, 0x2E },
    { Qt::Key_Help, 0x2F },
    { Qt::Key_Meta, 0x5B },
    { Qt::Key_Super_L, 0x5B },
    { Qt::Key_Super_R, 0x5C },
    { Qt::Key_Menu, 0x5D },
    { Qt::Key_Sleep, 0x5F },
    { Qt::Key_NumLock, 0x90 },
    { Qt::Key_ScrollLock, 0x91 },
    { Qt::Key_Back, 0xA6 },
    { Qt::Key_Forward, 0xA7 },
    { Qt::Key_Refresh, 0xA8 },
    { Qt::Key_Stop, 0xA9 },
    { Qt::Key_Search, 0xAA },
    { Qt::Key_Favorites, 0xAB },
    { Qt::Key_HomePage, 0xAC },
    { Qt::Key_VolumeMute, 0xAD },
    { Qt::Key_VolumeDown, 0xAE },
    { Qt::Key_VolumeUp, 0xAF },
    { Qt::Key_MediaNext, 0xB0 },
    { Qt::Key_MediaPrevious, 0xB1 },
    { Qt::Key_MediaStop, 0xB2 },
    { Qt::Key_MediaPlay, 0xB3 },
    { Qt::Key_MediaTogglePlayPause, 0xB3 },
    { Qt::Key_LaunchMail, 0xB4 },
    { Qt::Key_LaunchMedia, 0xB5 },
    { Qt::Key_Launch0, 0xB6 },
    { Qt::Key_Launch1, 0xB7 },
    { Qt::Key_Calculator, 0xB7 },
    // Punctuation, unshifted and shifted, as on a US layout.
    { Qt::Key_Exclam, '1' },
    { Qt::Key_At, '2' },
    { Qt::Key_NumberSign, '3' },
    { Qt::Key_Dollar, '4' },
    { Qt::Key_Percent, '5' },
    { Qt::Key_AsciiCircum, '6' },
    { Qt::Key_Ampersand, '7' },
    { Qt::Key_Asterisk, '8' },
    { Qt::Key_ParenLeft, '9' },
    { Qt::Key_ParenRight, '0' },
    { Qt::Key_Semicolon, 0xBA },
    { Qt::Key_Colon, 0xBA },
    { Qt::Key_Equal, 0xBB },
    { Qt::Key_Plus, 0xBB },
    { Qt::Key_Comma, 0xBC },
    { Qt::Key_Minus, 0xBD },
    { Qt::Key_Underscore, 0xBD },
    { Qt::Key_Period, 0xBE },
    { Qt::Key_Greater, 0xBE },
    { Qt::Key_Slash, 0xBF },
    { Qt::Key_Question, 0xBF },
    { Qt::Key_QuoteLeft, 0xC0 },
    { Qt::Key_AsciiTilde, 0xC0 },
    { Qt::Key_BracketLeft, 0xDB },
    { Qt::Key_BraceLeft, 0xDB },
    { Qt::Key_Backslash, 0xDC },
    { Qt::Key_Bar, 0xDC },
    { Qt::Key_BracketRight, 0xDD },
    { Qt::Key_BraceRight, 0xDD },
    { Qt::Key_Apostrophe, 0xDE },
    { Qt::Key_QuoteDbl, 0xDE },
};

// The number pad's operators have codes of their own.
constexpr QtPair keypadKeys[] = {
    { Qt::Key_Asterisk, 0x6A }, { Qt::Key_Plus, 0x6B },   { Qt::Key_Comma, 0x6C },
    { Qt::Key_Minus, 0x6D },    { Qt::Key_Period, 0x6E }, { Qt::Key_Slash, 0x6F },
};

} // namespace

int VirtualKeys::fromQtKey(int iQtKey, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (inRange(iQtKey, Qt::Key_0, Qt::Key_9))
        return keypad ? 0x60 + (iQtKey - Qt::Key_0) : iQtKey;
    if (inRange(iQtKey, Qt::Key_A, Qt::Key_Z))
        return iQtKey;
    if (inRange(iQtKey, Qt::Key_F1, Qt::Key_F24))
        return 0x70 + (iQtKey - Qt::Key_F1);
    if (keypad) {
        if (const int code = lookUp(keypadKeys, iQtKey))
            return code;
    }
    // "<" is Shift with the comma key on a US layout, the key beside the left
    // Shift on others.
    if (iQtKey == Qt::Key_Less)
        return modifiers.testFlag(Qt::ShiftModifier) ? 0xBC : 0xE2;
    return lookUp(qtKeys, iQtKey);
}

int VirtualKeys::fromKeyEvent(const QKeyEvent &event)
{
#ifdef Q_OS_WIN
    // Windows hands over the code itself; synthesised events have none.
    if (event.nativeVirtualKey() != 0)
        return int(event.nativeVirtualKey());
#endif
    return fromQtKey(event.key(), event.modifiers());
}

#ifndef Q_OS_WIN
namespace {

struct Pair
{
    int from; // virtual-key code
    uint32_t to; // key symbol
};

// Codes that do not fall in one of the contiguous ranges below. The OEM codes
// name the key that carries the character on a US layout, which is how the
// settings were recorded; the key symbol finds the same key here.
constexpr Pair table[] = {
    { 0x08, XK_BackSpace },
    { 0x09, XK_Tab },
    { 0x0C, XK_Clear },
    { 0x0D, XK_Return },
    { 0x13, XK_Pause },
    { 0x14, XK_Caps_Lock },
    { 0x1B, XK_Escape },
    { 0x20, XK_space },
    { 0x21, XK_Prior },
    { 0x22, XK_Next },
    { 0x23, XK_End },
    { 0x24, XK_Home },
    { 0x25, XK_Left },
    { 0x26, XK_Up },
    { 0x27, XK_Right },
    { 0x28, XK_Down },
    { 0x29, XK_Select },
    { 0x2A, XK_Print },
    { 0x2B, XK_Execute },
    { 0x2C, XK_Print },
    { 0x2D, XK_Insert },
    { 0x2E, XK_Delete },
    { 0x2F, XK_Help },
    { 0x5B, XK_Super_L },
    { 0x5C, XK_Super_R },
    { 0x5D, XK_Menu },
    { 0x5F, XF86XK_Sleep },
    { 0x6A, XK_KP_Multiply },
    { 0x6B, XK_KP_Add },
    { 0x6C, XK_KP_Separator },
    { 0x6D, XK_KP_Subtract },
    { 0x6E, XK_KP_Decimal },
    { 0x6F, XK_KP_Divide },
    { 0x90, XK_Num_Lock },
    { 0x91, XK_Scroll_Lock },
    { 0xA6, XF86XK_Back },
    { 0xA7, XF86XK_Forward },
    { 0xA8, XF86XK_Refresh },
    { 0xA9, XF86XK_Stop },
    { 0xAA, XF86XK_Search },
    { 0xAB, XF86XK_Favorites },
    { 0xAC, XF86XK_HomePage },
    { 0xAD, XF86XK_AudioMute },
    { 0xAE, XF86XK_AudioLowerVolume },
    { 0xAF, XF86XK_AudioRaiseVolume },
    { 0xB0, XF86XK_AudioNext },
    { 0xB1, XF86XK_AudioPrev },
    { 0xB2, XF86XK_AudioStop },
    { 0xB3, XF86XK_AudioPlay },
    { 0xB4, XF86XK_Mail },
    { 0xB5, XF86XK_AudioMedia },
    { 0xB6, XF86XK_MyComputer },
    { 0xB7, XF86XK_Calculator },
    { 0xBA, XK_semicolon },
    { 0xBB, XK_equal },
    { 0xBC, XK_comma },
    { 0xBD, XK_minus },
    { 0xBE, XK_period },
    { 0xBF, XK_slash },
    { 0xC0, XK_grave },
    { 0xDB, XK_bracketleft },
    { 0xDC, XK_backslash },
    { 0xDD, XK_bracketright },
    { 0xDE, XK_apostrophe },
    { 0xE2, XK_less },
};

} // namespace

uint32_t VirtualKeys::toKeySym(int iVirtualKey)
{
    if (inRange(iVirtualKey, '0', '9'))
        return uint32_t(iVirtualKey);
    // Lower case: the symbol on the key's unshifted level.
    if (inRange(iVirtualKey, 'A', 'Z'))
        return uint32_t(XK_a + (iVirtualKey - 'A'));
    if (inRange(iVirtualKey, 0x60, 0x69))
        return uint32_t(XK_KP_0 + (iVirtualKey - 0x60));
    if (inRange(iVirtualKey, 0x70, 0x87))
        return uint32_t(XK_F1 + (iVirtualKey - 0x70));
    return lookUp(table, iVirtualKey);
}
#endif
