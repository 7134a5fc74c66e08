#pragma once

#include <QString>

class QFileDevice;

// A part file is a new file built beside its target and renamed over it once
// whole. Its writer holds a lock on it while the file is open; the system
// lets go of the lock when the writer dies, so a part file left by a killed
// writer can be told from one that is still being written.
class PartFileLock
{
public:
    // Locks the open file strPath names for as long as it stays open. False
    // when someone else holds it, or when the name no longer names the open
    // file (it was removed in between): the caller makes another.
    static bool hold(QFileDevice &file, const QString &strPath);
    // Removes the regular file at strPath unless a live writer holds it.
    static bool removeIfAbandoned(const QString &strPath);
};
