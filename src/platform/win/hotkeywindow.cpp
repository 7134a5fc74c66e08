#include "hotkeywindow.h"

#include <windows.h>

namespace {

const wchar_t ClassName[] = L"TavelmarkHotKeyWindow";

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_HOTKEY)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const auto *target
        = reinterpret_cast<const HotKeyWindow::Target *>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (target)
        target->callback(target->pContext, int(wParam));
    return 0;
}

bool registerClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ClassName;
    return RegisterClassExW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

HotKeyWindow::HotKeyWindow(Callback callback, void *pContext)
    : target { callback, pContext }
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!registerClass(instance))
        return;
    HWND window = CreateWindowExW(0, ClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance,
                                  nullptr);
    if (!window)
        return;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&target));
    hwnd = window;
}

HotKeyWindow::~HotKeyWindow()
{
    if (!hwnd)
        return;
    for (const int id : ids)
        UnregisterHotKey(static_cast<HWND>(hwnd), id);
    DestroyWindow(static_cast<HWND>(hwnd));
}

bool HotKeyWindow::registerHotKey(int iId, bool bCtrl, bool bShift, bool bAlt, bool bWin,
                                  int iVirtualKey)
{
    if (!hwnd)
        return false;
    // The system would keep both registrations of one identifier.
    unregisterHotKey(iId);
    UINT modifiers = 0;
    if (bCtrl)
        modifiers |= MOD_CONTROL;
    if (bShift)
        modifiers |= MOD_SHIFT;
    if (bAlt)
        modifiers |= MOD_ALT;
    if (bWin)
        modifiers |= MOD_WIN;
    if (!RegisterHotKey(static_cast<HWND>(hwnd), iId, modifiers, UINT(iVirtualKey)))
        return false;
    ids.insert(iId);
    return true;
}

void HotKeyWindow::unregisterHotKey(int iId)
{
    if (ids.erase(iId) != 0)
        UnregisterHotKey(static_cast<HWND>(hwnd), iId);
}
