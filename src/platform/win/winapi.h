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

// Window picking, in screen pixels. The top-level window at the point, or
// null.
void *topLevelWindowAt(int x, int y);
bool isWindow(void *hwnd);
// The window's rectangle with its frame; false when there is none.
bool windowRect(void *hwnd, int *pLeft, int *pTop, int *pRight, int *pBottom);
// Draws a dotted black rectangle one pixel inside the window, over its frame
// and contents; false without a window device context.
bool drawWindowFrame(void *hwnd);
// Has the window repaint itself, frame included, which removes the frame.
void eraseWindowFrame(void *hwnd);

} // namespace winapi
