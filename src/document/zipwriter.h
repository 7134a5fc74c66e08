#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QIODevice;

// A part of an entry deflated on its own (see ZipModule::deflate): parts
// written one after another form one deflated entry, so a part that did not
// change is kept and written again as it is.
struct ZipPiece
{
    QByteArray deflated;
    quint32 crc = 0; // of the bytes before deflating
    qint64 size = -1; // the bytes before deflating; -1 when deflating failed
};

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
    // One deflated entry made of `pieces` in their order.
    virtual bool addDeflated(const QString &name, const QList<ZipPiece> &pieces) = 0;
    // Writes the directory and closes the device. True only when every byte
    // was accepted.
    virtual bool finish() = 0;
};
