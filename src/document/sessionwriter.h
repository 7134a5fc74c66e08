#pragma once

#include "documentsnapshot.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>

// Keeps a session in a folder of its own: an index naming the pages' files
// in page order (with the next number and the document's path), and one file
// per page holding that page's part of a document's manifest. The pictures
// stay in the temporary folder and are only named; a page's moved pieces,
// which live only in memory, lie beside its file. Each PDF that pages show
// lies in the folder once, written when it first comes and never again.
//
// A write costs what changed: only a page whose objects or looks changed
// since the last write is encoded again, into files of fresh names. Then the
// index is written beside and renamed over the old one, and only then do the
// files it no longer names go. Killed at any moment, the folder holds the
// earlier session or the new one, whole.
class SessionWriter
{
public:
    static const char IndexName[];

    explicit SessionWriter(const QString &strFolder);

    QString folder() const { return dir; }
    QString indexFile() const;

    bool write(const DocumentSnapshot &snapshot);
    // No session is left: the index goes first, then the page files.
    bool remove();
    // For tests of what a crash leaves: a write stops after `steps` more
    // files are written, renamed or removed, as if the process were killed.
    void stopAfter(int steps) { stepsLeft = steps; }

private:
    // What a page's file was encoded from; the objects are known by revision.
    struct Key
    {
        quint64 revision = 0;
        QSize size;
        QSize pixelSize;
        qreal pixelRatio = 1.0;
        int background = 0;
        QColor colour;
        QString pictureFile;
        QString pdfFile;
        int pdfPage = -1;

        bool operator==(const Key &o) const;
    };
    struct Written
    {
        Key key;
        QString file;
        QStringList pieces;
    };

    static Key keyOf(const PageRecord &page);
    bool writePdfs(const DocumentSnapshot &snapshot, QSet<QString> *shown, QStringList *fresh);
    bool writePage(const PageRecord &page, Written *written, QStringList *fresh);
    QString freshStem(int pageId, quint64 revision) const;
    QSet<QString> namedFiles() const;
    bool writeIndex(const DocumentSnapshot &snapshot, const QStringList &files, QStringList *fresh);
    bool writeFile(const QString &name, const QByteArray &bytes);
    void removeUnnamed(const QSet<QString> &keep);
    void forget();
    void discard(const QStringList &files);
    bool step();

    QString dir;
    QHash<int, Written> pages; // by page id, as the index names them
    QSet<QString> pdfs; // the PDF files the index names
    // The files the index on disk names; unknown before the first write.
    std::optional<QSet<QString>> named;
    int stepsLeft = -1;
    bool killed = false;
};
