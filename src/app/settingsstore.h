#pragma once

#include <QString>

// Reads and writes the settings file "Setting.ini" in the per-user data folder
// and keeps its backup. All values live in AppState between start and close.
class SettingsStore
{
public:
    // Fixes the paths, creates the data folder, the private temporary folder
    // and an empty settings file when missing, then applies the backup rule.
    // A settings file that cannot be written is told as a start notice.
    static void locate();
    // Loads every group into AppState; logicalDpiX sizes the scale factors.
    static void load(int logicalDpiX);
    // Writes every key saved at quit (only while saving is on). False when
    // the file could not be written.
    static bool save();
    // Writes one "UserInterface" value at once (preferences that need a restart).
    static bool writeNow(const QString &strKey, const QString &strValue);

    // Saves, then writes a copy of the settings file to strPath.
    static bool exportTo(const QString &strPath);
    // Makes strPath the backup; the next start then takes it over.
    static bool importFrom(const QString &strPath);

    static void computeScaleFactors(int logicalDpiX);
    static bool removeTemporaryFolder();

private:
    static void applyBackupRule();
    static void checkWritable();
};
