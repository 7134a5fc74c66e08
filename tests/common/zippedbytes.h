#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

// An archive made in memory from (name, contents) entries, each stored as
// it is, so that tests can plant whatever bytes they need.
inline QByteArray zipped(const QList<QPair<QString, QByteArray>> &entries)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    zip.open(QuaZip::mdCreate);
    for (const auto &e : entries) {
        QuaZipFile entry(&zip);
        entry.open(QIODevice::WriteOnly, QuaZipNewInfo(e.first), nullptr, 0, 0, 0);
        entry.write(e.second);
        entry.close();
    }
    zip.close();
    return bytes;
}
