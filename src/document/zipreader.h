#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

// Reads a ZIP archive for the program. Implemented in the ZIP module, which
// is loaded on first use (see ZipModule); the caller owns the reader and
// deletes it before the archive's file goes away.
class ZipReader
{
public:
    // Takes one block of an entry (at most 1 MiB), valid during the call
    // only (copy it to keep it); false stops the reading.
    using Sink = std::function<bool(const QByteArray &block)>;
    using EntrySink = std::function<bool(const QString &name, const QByteArray &block)>;

    virtual ~ZipReader() = default;

    // The entry names in archive order.
    virtual QStringList names() = 0;
    // The size the entry's header declares (it may lie), or -1 when the
    // archive holds no such entry.
    virtual qint64 declaredSize(const QString &name) = 0;
    // Inflates the entry into `sink`. True only when the whole entry was
    // read and its checksum matched.
    virtual bool read(const QString &name, const Sink &sink) = 0;
    // Inflates every entry in archive order. True only when all were read
    // whole with matching checksums.
    virtual bool readEvery(const EntrySink &sink) = 0;
    // Reads every entry back and compares its checksum; a stored entry's
    // bytes are read straight from the file, in large blocks.
    virtual bool checkEvery() = 0;
};
