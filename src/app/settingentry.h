#pragma once

#include <QString>

#include <functional>
#include <vector>

class AppState;

// One key of the settings file: where it lives, how its text becomes a value of
// the process-wide state (with defaults and the range the interface offers)
// and back. The table drives load, clamp and save alike.
struct SettingEntry
{
    QString group;
    QString key;
    // Parses the stored text into the state; a missing key is passed as a null
    // string and yields the default.
    std::function<void(AppState &, const QString &)> read;
    std::function<QString(const AppState &)> write;
    // false for keys that only the preferences dialog writes.
    bool savedAtQuit = true;

    // Whether the text is one the program writes itself: read back, the value
    // gives the same text again (nothing clamped, defaulted or malformed).
    bool accepts(const QString &strText) const;

    static const std::vector<SettingEntry> &table();
};
