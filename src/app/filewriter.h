#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Replaces a file only by a complete new one: the bytes go to a temporary file
// beside the target, every write is checked (a full disk can accept fewer bytes
// without an error), and only then is it renamed over the target. A
// write-protected target is never replaced.
class FileWriter
{
public:
    // An existing file that nobody may write, or that this user may not: it
    // is refused as a target, even where the folder would allow replacing it.
    static bool isWriteProtected(const QString &strPath);

    static bool write(const QString &strPath, const QByteArray &data,
                      QFileDevice::Permissions permissions = {});
    // Copies strSource over strTarget the same way, a block at a time (a
    // source can be large). False when the source cannot be read or the
    // target cannot be written.
    static bool copy(const QString &strSource, const QString &strTarget,
                     QFileDevice::Permissions permissions = {});
};
