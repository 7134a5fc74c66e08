#pragma once

#include "zipreader.h"
#include "zipwriter.h"

#include <QtPlugin>

#include <memory>

// The ZIP support, a module of its own that only the documents, the session
// journal and the exports need: it is loaded when one of them first asks
// (see ZipModules), so that no start pays for mapping and relocating the
// ZIP library. The module keeps no state between calls; readers and writers
// may be used on any one thread at a time.
class ZipModule
{
public:
    virtual ~ZipModule() = default;

    // A reader of the archive at `path`, or nothing when it is not one.
    virtual std::unique_ptr<ZipReader> reader(const QString &path) = 0;
    // A new archive on `device` (opened for writing when it is not open), or
    // nothing when it cannot be started.
    virtual std::unique_ptr<ZipWriter> writer(QIODevice *device) = 0;
    // `data` deflated at `level` (1 to 9) into a piece of an entry.
    virtual ZipPiece deflate(const QByteArray &data, int level) = 0;
};

#define ZipModule_iid "example.quillbury.tavelmark.ZipModule/2"
Q_DECLARE_INTERFACE(ZipModule, ZipModule_iid)
