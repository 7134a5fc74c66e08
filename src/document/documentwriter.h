#pragma once

#include "documentsnapshot.h"

#include "zipwriter.h"

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>

// Writes a document file: a ZIP holding "manifest.json", the pictures and
// each PDF that pages show, once however many pages show it. A document to
// keep embeds its pictures; the session journal only names them, as they
// already lie in the temporary folder, and keeps its PDFs beside its pages.
// The file is built beside the target, read back and checked, and only then
// renamed over it: the target is always the old file or the whole new one.
// A writer keeps each page's part of the manifest, deflated, and its moved
// pieces encoded, until the page changes: writing again costs the changed
// pages' encoding and a copy of the rest.
class ZipModule;

class DocumentWriter
{
public:
    enum Pictures { Embedded, Referenced };

    // A document with PDF pages is of the next major version: readers that
    // cannot show its pages refuse it whole. One without stays readable by them.
    static constexpr int Major = 1;
    static constexpr int PdfMajor = 2;
    static constexpr int Minor = 0;
    static const char ManifestName[];

    // An entry: a file's bytes, bytes as they are (a PDF's), or pixels to
    // encode (kept in `bytes` once encoded).
    struct Entry
    {
        QString name;
        QString file;
        QImage image;
        QByteArray bytes;
    };

    // The manifest, and in `entries` the picture files it names.
    static QByteArray manifest(const DocumentSnapshot &snapshot, Pictures mode,
                               QList<Entry> *entries);
    // One page as the manifest holds it; its pictures are appended to
    // `entries`, numbered after those there.
    static QJsonObject pageObject(const PageRecord &page, Pictures mode, QList<Entry> *entries);
    // The major version of a file holding `snapshot`'s pages.
    static int majorOf(const DocumentSnapshot &snapshot);
    // The PDFs the pages show, each once, with the password that opens it.
    static QJsonArray pdfList(const DocumentSnapshot &snapshot, Pictures mode);
    // The name under which a PDF is kept.
    static QString pdfName(const PdfSource &pdf, Pictures mode);
    // A moved piece as a PNG: its premultiplied pixels as they are, since
    // converting them to plain alpha and back would change faint pixels.
    static QByteArray encodePixels(const QImage &image);
    // Whether the archive at `path` holds exactly `names`, in order, each
    // entry read whole with its checksum right.
    static bool readsBack(const QString &path, const QStringList &names);

    bool write(const DocumentSnapshot &snapshot, const QString &target, Pictures mode);
    // Why the last write failed, in English for the message lookup.
    QString errorString() const { return error; }

private:
    // A page's part of the manifest as last written, and what it was made of.
    struct PagePart
    {
        PageRecord page; // without its objects: the revision stands for them
        Pictures mode = Embedded;
        int firstEntry = 0;
        bool leadingComma = false;
        ZipPiece piece;
        QList<Entry> entries;

        bool holds(const PageRecord &other, Pictures otherMode, int otherFirst, bool comma) const;
    };

    static void appendPdfs(const DocumentSnapshot &snapshot, QList<Entry> *entries);
    QList<ZipPiece> encode(ZipModule &module, const DocumentSnapshot &snapshot, Pictures mode,
                           QList<Entry> *entries);
    static PagePart encodePage(ZipModule &module, const PageRecord &page, Pictures mode,
                               bool leadingComma, QList<Entry> *entries);
    bool writeZip(ZipModule &module, QIODevice *device, const QList<ZipPiece> &manifest,
                  const QList<Entry> &entries);
    bool fail(const QString &why);

    QString error;
    QHash<int, PagePart> parts; // by page id
};
