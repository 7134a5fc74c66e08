#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// Writes a ZIP archive onto a device for the program. Implemented in the
// ZIP module (see ZipModule). A writer that reported a failure is done with:
// the caller gives up the archive.
class ZipWriter
{
public:
    virtual ~ZipWriter() = default;

    // Compression level 0 stores the bytes; 1 to 9 deflates them.
    virtual bool add(const QString &name, const QByteArray &data, int level) = 0;
    // Stores what `source` holds, a block at a time.
    virtual bool addFrom(const QString &name, QIODevice *source) = 0;
    // Writes the directory and closes the device. True only when every byte
    // was accepted.
    virtual bool finish() = 0;
};
