#pragma once

#include "platform.h"

// Backend for platforms without native support: relies on Qt alone.
class NullPlatform : public Platform
{
public:
    QString name() const override;
    void setTopmost(QWidget *pWidget) override;
    void setToolWindowStyle(QWidget *pWidget) override;
    bool isCompositionAvailable() override;
    // No global hotkeys: registering always fails.
    bool registerHotKey(int iId, const HotKeyRecord &record) override;
    void unregisterHotKey(int iId) override;
    // No access to other programs' windows: none is ever found.
    WId topLevelWindowAt(const QPoint &globalPos, const QList<WId> &excluded) override;
    QRect windowFrameRect(WId window) override;
    bool showWindowFrame(WId window) override;
    void hideWindowFrame(WId window) override;
};
