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

void *topLevelWindowAt(int x, int y)
{
    POINT point = { x, y };
    HWND window = WindowFromPoint(point);
    return window ? GetAncestor(window, GA_ROOT) : nullptr;
}

bool isWindow(void *hwnd)
{
    return hwnd && IsWindow(static_cast<HWND>(hwnd)) != FALSE;
}

bool windowRect(void *hwnd, int *pLeft, int *pTop, int *pRight, int *pBottom)
{
    RECT rect;
    if (!isWindow(hwnd) || !GetWindowRect(static_cast<HWND>(hwnd), &rect))
        return false;
    *pLeft = rect.left;
    *pTop = rect.top;
    *pRight = rect.right;
    *pBottom = rect.bottom;
    return true;
}

bool drawWindowFrame(void *hwnd)
{
    HWND window = static_cast<HWND>(hwnd);
    RECT rect;
    if (!isWindow(hwnd) || !GetWindowRect(window, &rect))
        return false;
    HDC dc = GetWindowDC(window);
    if (!dc)
        return false;
    HPEN pen = CreatePen(PS_DOT, 1, 0);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, 1, rect.right - 1 - rect.left, rect.bottom - 1 - rect.top);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    ReleaseDC(window, dc);
    DeleteObject(pen);
    return true;
}

void eraseWindowFrame(void *hwnd)
{
    if (!isWindow(hwnd))
        return;
    HWND window = static_cast<HWND>(hwnd);
    UpdateWindow(window);
    InvalidateRect(window, nullptr, TRUE);
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
}

} // namespace winapi
