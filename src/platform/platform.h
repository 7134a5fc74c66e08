#pragma once

#include <QString>

class QWidget;

// The few things the program needs from the windowing system beyond Qt.
// One backend is chosen at run time: X11 under an X server, Windows on
// Windows, and a null backend elsewhere (the offscreen platform of the tests,
// Wayland, or TAV_PLATFORM=null) that keeps to what Qt alone can do.
class Platform
{
public:
    virtual ~Platform() = default;

    static Platform &instance();
    // Drops the current backend; the next instance() chooses again.
    static void reset();

    virtual QString name() const = 0;
    // Puts a shown top-level window above all others and keeps it there,
    // without moving or resizing it.
    virtual void setTopmost(QWidget *pWidget) = 0;
    // Keeps a top-level window out of the taskbar and window switchers.
    virtual void setToolWindowStyle(QWidget *pWidget) = 0;
    // Whether translucent windows show the desktop beneath them.
    virtual bool isCompositionAvailable() = 0;

    // The per-installation "Path" setting: the folder the program should work
    // in, or an empty string when none is set.
    static QString installationPath();
};
