#pragma once

#include "grabnotices.h"
#include "hotkeyevents.h"

#include <QList>
#include <QRect>
#include <QString>

#include <memory>
#include <qwindowdefs.h>

class QPixmap;
class QScreen;
class QWidget;
class ScreenGrab;
struct HotKeyRecord;

// The few things the program needs from the windowing system beyond Qt.
// One backend is chosen at run time: X11 under an X server, Windows on
// Windows, and a null backend elsewhere (the offscreen platform of the tests,
// or TAV_PLATFORM=null) that keeps to what Qt alone can do. In a Wayland
// session a Wayland backend takes the pictures and leaves the windows to one
// of those.
class Platform
{
public:
    virtual ~Platform() = default;

    static Platform &instance();
    // Drops the current backend; the next instance() chooses again.
    static void reset();
    // Puts the given backend in place of the chosen one (tests stand in for
    // a desktop with it).
    static void replace(std::unique_ptr<Platform> backend);

    virtual QString name() const = 0;
    // Puts a shown top-level window above all others and keeps it there,
    // without moving or resizing it.
    virtual void setTopmost(QWidget *pWidget) = 0;
    // Gives a shown top-level window the keyboard and brings it forward, on
    // the user's own command (a tool chosen, a hotkey, an action handed over):
    // window managers refuse an application's own wish while another
    // window, even a full-screen one, had input more recently.
    virtual void activate(QWidget *pWidget);
    // Keeps a top-level window out of the taskbar and window switchers.
    virtual void setToolWindowStyle(QWidget *pWidget) = 0;
    // Whether translucent windows show the desktop beneath them; asked anew
    // each time, since a compositor can start or stop at any moment.
    virtual bool isCompositionAvailable() = 0;
    // Why translucent windows cannot be had and what the user can do, in
    // English (the caller translates it).
    virtual QString noCompositionAdvice() const;

    // Global hotkeys: combinations that reach the program while another
    // application has the focus. registerHotKey claims the record's
    // combination (its enabled flag is the caller's business) under iId, a
    // positive number, replacing whatever iId held. False when the combination
    // cannot be had: the key has no counterpart here, another program or
    // another identifier holds it, or the platform has no global hotkeys.
    // unregisterHotKey releases iId; an identifier not held is ignored.
    virtual bool registerHotKey(int iId, const HotKeyRecord &record) = 0;
    virtual void unregisterHotKey(int iId) = 0;
    // Where a pressed hotkey's identifier arrives, on the GUI thread.
    HotKeyEvents &hotKeyEvents() { return events; }
    // Why hotkeys do not reach the program from other applications here and
    // what to do instead (English), or empty where they do.
    virtual QString hotKeyAdvice() const { return {}; }

    // A picture of the whole screen in device pixels, or a null picture when
    // the desktop gives none: grabRefusal() then says why (English) and
    // grabNotices() has told its listeners.
    virtual QPixmap grabScreen(QScreen *screen);
    virtual QString grabRefusal() const { return {}; }
    // Where a picture of the screen must be asked of the desktop, which may
    // take its time, fetchDesktop() asks for it and returns true without
    // waiting: grabNotices() says when it is in (or refused), and the grabs
    // made right then use it. False where grabs are made on the spot.
    virtual bool fetchDesktop() { return false; }
    // Gives up the picture on its way; no notice follows.
    virtual void cancelFetch() { }
    // A grab of the screen made ready now, to be asked for and collected
    // later (see ScreenGrab).
    virtual std::unique_ptr<ScreenGrab> prepareGrab(QScreen *screen);
    GrabNotices &grabNotices() { return notices; }
    // Whether a grab is cheap and silent enough to repeat on a timer.
    virtual bool grabsAreLive() const { return true; }
    // Whether other programs' windows can be found for the window capture.
    virtual bool canPickWindows() const { return true; }

    // Window picking for the window capture. Windows are native top-level
    // handles, 0 for none; positions are global coordinates.
    // topLevelWindowAt: the top-level window whose area (frame included) is
    // uppermost at the point, or 0 when there is none or when it is one of
    // the excluded windows (the program's own).
    virtual WId topLevelWindowAt(const QPoint &globalPos, const QList<WId> &excluded) = 0;
    // The window's rectangle with the window manager's frame, in the
    // desktop's device pixels (see NativeCoordinates); empty when the window
    // is gone.
    virtual QRect windowFrameRect(WId window) = 0;
    // A dotted black frame one pixel inside the window's rectangle, shown
    // until hideWindowFrame. False when the window cannot be framed.
    virtual bool showWindowFrame(WId window) = 0;
    virtual void hideWindowFrame(WId window) = 0;
    // The shown top-level windows, uppermost first, without the excluded
    // ones: what the keyboard steps through. None where windows are not
    // listed.
    virtual QList<WId> topLevelWindows(const QList<WId> &excluded);
    // The window's title as its program set it; empty when unknown.
    virtual QString windowTitle(WId window);

    // The per-installation "Path" setting: the folder the program should work
    // in, or an empty string when none is set.
    static QString installationPath();
    // Any per-installation setting kept beside "Path"; empty when unset.
    static QString installationSetting(const QString &strKey);

private:
    HotKeyEvents events;
    GrabNotices notices;
};
