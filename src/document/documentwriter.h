#pragma once

#include "documentsnapshot.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

// Writes a document file: a ZIP holding "manifest.json" and the pictures.
// A document to keep embeds its pictures; the session journal only names
// them, as they already lie in the temporary folder. The file is built
// beside the target, read back and checked, and only then renamed over it:
// the target is always the old file or the whole new one.
class QJsonObject;
class ZipModule;

class DocumentWriter
{
public:
    enum Pictures { Embedded, Referenced };

    static constexpr int Major = 1;
    static constexpr int Minor = 0;
    static const char ManifestName[];

    // A picture entry: a file's bytes, or pixels to encode.
    struct Entry
    {
        QString name;
        QString file;
        QImage image;
    };

    // The manifest, and in `entries` the picture files it names.
    static QByteArray manifest(const DocumentSnapshot &snapshot, Pictures mode,
                               QList<Entry> *entries);
    // One page's part of the manifest, and in `entries` the pictures it names.
    static QJsonObject pageObject(const PageRecord &page, Pictures mode, QList<Entry> *entries);

    bool write(const DocumentSnapshot &snapshot, const QString &target, Pictures mode);
    // Why the last write failed, in English for the message lookup.
    QString errorString() const { return error; }

private:
    bool writeZip(ZipModule &module, QIODevice *device, const QByteArray &manifest,
                  const QList<Entry> &entries);
    bool fail(const QString &why);

    QString error;
};
