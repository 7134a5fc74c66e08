#pragma once

#include "zipreader.h"

#include <quazip/quazip.h>

// ZipReader on QuaZip; part of the ZIP module, never linked into the program.
class QuaZipReader : public ZipReader
{
public:
    explicit QuaZipReader(const QString &path);

    bool isOpen() const { return open; }

    QStringList names() override;
    qint64 declaredSize(const QString &name) override;
    bool read(const QString &name, const Sink &sink) override;
    bool readEvery(const EntrySink &sink) override;

private:
    bool readCurrent(const Sink &sink);

    QuaZip zip;
    bool open = false;
};
