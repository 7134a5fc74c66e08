#include "winapi.h"

#include <windows.h>

namespace winapi {

bool setTopmost(void *hwnd)
{
    return SetWindowPos(static_cast<HWND>(hwnd), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE)
        != 0;
}

bool setToolWindowStyle(void *hwnd)
{
    HWND window = static_cast<HWND>(hwnd);
    const LONG style = GetWindowLongW(window, GWL_EXSTYLE);
    return SetWindowLongW(window, GWL_EXSTYLE, style | WS_EX_TOOLWINDOW) != 0;
}

namespace {

bool isWindows7()
{
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    info.dwMajorVersion = 6;
    info.dwMinorVersion = 1;
    DWORDLONG mask = 0;
    mask = VerSetConditionMask(mask, VER_MAJORVERSION, VER_EQUAL);
    mask = VerSetConditionMask(mask, VER_MINORVERSION, VER_EQUAL);
    return VerifyVersionInfoW(&info, VER_MAJORVERSION | VER_MINORVERSION, mask) != FALSE;
}

} // namespace

bool isCompositionAvailable()
{
    if (!isWindows7())
        return true;
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (!dwm)
        return false;
    using IsEnabled = HRESULT(WINAPI *)(BOOL *);
    auto isEnabled = reinterpret_cast<IsEnabled>(
        reinterpret_cast<void *>(GetProcAddress(dwm, "DwmIsCompositionEnabled")));
    BOOL enabled = FALSE;
    const bool ok = isEnabled && SUCCEEDED(isEnabled(&enabled));
    FreeLibrary(dwm);
    return ok && enabled;
}

} // namespace winapi
