#pragma once

#include "platform.h"

#include <QElapsedTimer>
#include <QImage>
#include <QMap>

#include <memory>

class GlobalShortcutsPortal;
class ScreenshotPortal;

// Backend for a Wayland session. Windows are the business of the backend
// below (X11 through XWayland, or the null one), but nothing of the screen
// can be seen from here: pictures come from the screenshot portal, asked for
// ahead with fetchDesktop() since the desktop may take its time, other
// programs' windows cannot be found, and hotkeys are the global shortcuts
// portal's where the desktop offers it; elsewhere key grabs only fire while
// one of the session's X windows has the focus.
class WaylandPlatform : public Platform
{
public:
    WaylandPlatform(std::unique_ptr<Platform> windows, std::unique_ptr<ScreenshotPortal> portal,
                    std::unique_ptr<GlobalShortcutsPortal> shortcuts);
    ~WaylandPlatform() override;

    QString name() const override;
    void setTopmost(QWidget *pWidget) override;
    void setToolWindowStyle(QWidget *pWidget) override;
    bool isCompositionAvailable() override;
    bool registerHotKey(int iId, const HotKeyRecord &record) override;
    void unregisterHotKey(int iId) override;
    WId topLevelWindowAt(const QPoint &globalPos, const QList<WId> &excluded) override;
    QRect windowFrameRect(WId window) override;
    bool showWindowFrame(WId window) override;
    void hideWindowFrame(WId window) override;
    QPixmap grabScreen(QScreen *screen) override;
    QString grabRefusal() const override { return refusal; }
    bool fetchDesktop() override;
    void cancelFetch() override;
    bool grabsAreLive() const override { return false; }
    bool canPickWindows() const override { return false; }
    QString hotKeyAdvice() const override;

    // The part of a picture of the whole desktop (spanning desktopRect) that
    // shows screenRect, at the screen's device pixel ratio.
    static QPixmap cropToScreen(const QImage &desktop, const QRect &desktopRect,
                                const QRect &screenRect, qreal ratio);

private:
    bool hasFreshAnswer() const;
    void taken(const QImage &picture, const QString &strWhy);
    void bindSoon();

    std::unique_ptr<GlobalShortcutsPortal> shortcuts;
    // What the shortcuts portal is to bind, gathered so that the hotkeys
    // registered together make one request (and at most one dialog).
    QMap<int, QString> triggers;
    bool bindPending = false;
    std::unique_ptr<Platform> windows;
    std::unique_ptr<ScreenshotPortal> portal;
    // The portal's last answer serves the grabs of every screen made right
    // after it came: a picture, or a refusal and why.
    QImage shot;
    QElapsedTimer shotAge;
    QString refusal;
};
