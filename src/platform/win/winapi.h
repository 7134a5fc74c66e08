#pragma once

// The Win32 calls of the platform layer, kept free of Qt so that they can be
// compile-checked without a Windows build of Qt. Window handles are passed as
// void* (an HWND).
namespace winapi {

// HWND_TOPMOST without moving or resizing.
bool setTopmost(void *hwnd);
// Adds WS_EX_TOOLWINDOW: no taskbar button.
bool setToolWindowStyle(void *hwnd);
// Composition is taken as available except on Windows 7, where the desktop
// window manager may be switched off; dwmapi is loaded at run time.
bool isCompositionAvailable();

} // namespace winapi
