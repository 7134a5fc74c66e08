#pragma once

#include <QString>

// One global hotkey as the settings file stores it: "enabled,ctrl,shift,alt,win,vk"
// with vk a Windows virtual-key code (kept on every platform so that files move
// between systems unchanged).
struct HotKeyRecord
{
    bool enabled = false;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool win = false;
    int virtualKey = 0;

    static HotKeyRecord fromString(const QString &strValue);
    QString toString() const;
    bool operator==(const HotKeyRecord &other) const;
};
