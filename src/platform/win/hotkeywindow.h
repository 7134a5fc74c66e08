#pragma once

#include <set>

// A hidden message-only window that owns the program's global hotkeys. The
// system posts WM_HOTKEY to it and its window procedure hands the identifier
// on, whichever message loop dispatches it: Qt's, or a native modal one such
// as moving a window. Free of Qt, like the rest of win/.
class HotKeyWindow
{
public:
    using Callback = void (*)(void *pContext, int iId);
    // What the window procedure calls.
    struct Target
    {
        Callback callback;
        void *pContext;
    };

    HotKeyWindow(Callback callback, void *pContext);
    // Releases every hotkey still held.
    ~HotKeyWindow();
    HotKeyWindow(const HotKeyWindow &) = delete;
    HotKeyWindow &operator=(const HotKeyWindow &) = delete;

    // Replaces whatever iId held; false when the system refuses, typically
    // because another program owns the combination.
    bool registerHotKey(int iId, bool bCtrl, bool bShift, bool bAlt, bool bWin, int iVirtualKey);
    void unregisterHotKey(int iId);

private:
    Target target;
    void *hwnd = nullptr;
    std::set<int> ids;
};
