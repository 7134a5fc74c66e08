#pragma once

#include "zipwriter.h"

#include <quazip/quazip.h>

// ZipWriter on QuaZip; part of the ZIP module, never linked into the program.
class QuaZipWriter : public ZipWriter
{
public:
    explicit QuaZipWriter(QIODevice *device);

    bool isOpen() const { return open; }

    bool add(const QString &name, const QByteArray &data, int level) override;
    bool addFrom(const QString &name, QIODevice *source) override;
    bool addDeflated(const QString &name, const QList<ZipPiece> &pieces) override;
    bool finish() override;

private:
    QuaZip zip;
    bool open = false;
    QByteArray buffer; // one for every block: fresh memory costs page faults
};
