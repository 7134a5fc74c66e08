#pragma once

#include "zipreader.h"

#include <quazip/quazip.h>

#include <QFile>

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
    bool checkEvery() override;

private:
    bool readCurrent(const Sink &sink);
    bool checkStored(QFile *file, const QuaZipFileInfo64 &info);
    char *block();

    QuaZip zip;
    bool open = false;
    QByteArray buffer;
};
