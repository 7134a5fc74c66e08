#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Replaces a file only by a complete new one: the bytes go to a temporary file
// beside the target, every write is checked (a full disk can accept fewer bytes
// without an error), and only then is it renamed over the target.
class FileWriter
{
public:
    static bool write(const QString &strPath, const QByteArray &data,
                      QFileDevice::Permissions permissions = {});
    // Copies strSource over strTarget the same way. False when the source
    // cannot be read or the target cannot be written.
    static bool copy(const QString &strSource, const QString &strTarget);
};
