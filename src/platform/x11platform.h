#pragma once

#include "platform.h"

#include <QByteArray>

#include <xcb/xcb.h>

#include <memory>

class X11HotKeys;
class X11WindowPicker;
class WindowFrameOutline;

// X11 backend: EWMH hints for stacking and taskbar, the compositing-manager
// selection for composition, key grabs on the root window for hotkeys, the
// window tree for window picking and outline windows of our own as its frame.
class X11Platform : public Platform
{
public:
    explicit X11Platform(xcb_connection_t *connection);
    ~X11Platform() override;

    QString name() const override;
    void setTopmost(QWidget *pWidget) override;
    void activate(QWidget *pWidget) override;
    void setToolWindowStyle(QWidget *pWidget) override;
    bool isCompositionAvailable() override;
    std::unique_ptr<ScreenGrab> prepareGrab(QScreen *screen) override;
    bool registerHotKey(int iId, const HotKeyRecord &record) override;
    void unregisterHotKey(int iId) override;
    WId topLevelWindowAt(const QPoint &globalPos, const QList<WId> &excluded) override;
    QRect windowFrameRect(WId window) override;
    bool showWindowFrame(WId window) override;
    void hideWindowFrame(WId window) override;
    QList<WId> topLevelWindows(const QList<WId> &excluded) override;
    QString windowTitle(WId window) override;

    xcb_connection_t *connection() const { return conn; }
    xcb_window_t rootWindow() const;
    xcb_atom_t atom(const QByteArray &name) const;

private:
    void addNetWmState(QWidget *pWidget, const QList<xcb_atom_t> &states);
    void sendToWindowManager(xcb_client_message_event_t event);
    xcb_connection_t *conn;
    // Made on first use, so that a run without hotkeys installs no filter.
    std::unique_ptr<X11HotKeys> hotKeys;
    std::unique_ptr<X11WindowPicker> picker;
    std::unique_ptr<WindowFrameOutline> outline;
    WId outlinedWindow = 0;
};
