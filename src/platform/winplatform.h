#pragma once

#include "platform.h"

#include <memory>

class HotKeyWindow;

// Windows backend: the Qt side; the Win32 calls live in win/.
class WinPlatform : public Platform
{
public:
    ~WinPlatform() override;

    QString name() const override;
    void setTopmost(QWidget *pWidget) override;
    void setToolWindowStyle(QWidget *pWidget) override;
    bool isCompositionAvailable() override;
    QString noCompositionAdvice() const override;
    bool registerHotKey(int iId, const HotKeyRecord &record) override;
    void unregisterHotKey(int iId) override;
    WId topLevelWindowAt(const QPoint &globalPos, const QList<WId> &excluded) override;
    QRect windowFrameRect(WId window) override;
    bool showWindowFrame(WId window) override;
    void hideWindowFrame(WId window) override;

private:
    // Made on first use, so that a run without hotkeys creates no window.
    std::unique_ptr<HotKeyWindow> hotKeyWindow;
};
