#pragma once

#include "drawinglimits.h"
#include "jsonslices.h"
#include "pageparts.h"
#include "safeimagereader.h"

#include <QHash>
#include <QImage>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class MainPage;
class PdfSource;
class QSize;
class QJsonObject;
class ZipReader;
struct ObjectRecord;

// Reads a document file, which may come from anyone: every entry is read
// within a limit checked before and while it is inflated, every value of the
// manifest is checked, and nothing is ever written where an entry's name
// points. What is sound opens; what is not is left out and said once.
class DocumentReader
{
public:
    static constexpr qint64 MaxManifestBytes = 128LL * 1024 * 1024;
    static constexpr qint64 MaxDocumentBytes = 1024LL * 1024 * 1024;
    static constexpr int MaxPages = 1000;
    static constexpr int MaxPageSide = 16384;
    static constexpr int MaxPathLength = 4096;
    // Longer than any password a PDF can take.
    static constexpr int MaxPasswordLength = 1024;
    // What the pictures of a document may take decoded, at 4 bytes a pixel:
    // each picture entry once however many objects name it, what each SVG
    // object renders to, and the moved pieces. Backgrounds are decoded only
    // while their page is shown, and each is bounded by its page's pixels.
    // Some twenty photos of 12 megapixels, as a picture-heavy lesson holds.
    static constexpr qint64 MaxPictureBytes = 1024LL * 1024 * 1024;

    // A session file names its pictures in `sessionFolder` instead of
    // holding them; a document to open leaves it empty. A session holds only
    // what this program had in memory, so its pictures are not budgeted.
    explicit DocumentReader(const QString &sessionFolder = QString());
    ~DocumentReader();

    // The pages read; the caller owns them. Pictures are copied into the
    // temporary folder under names of their own.
    QList<MainPage *> read(const QString &path);
    // The same for a manifest read already (a session's, put together from
    // its files), whose pieces `source` holds.
    QList<MainPage *> read(std::unique_ptr<ZipReader> source, const QByteArray &manifestText);

    // read() in its phases, so that the reading can run on a worker: open()
    // and readPage() touch only files and plain data, and a PageBuilder on
    // the GUI thread makes the pages of what readPage() gives.
    // The archive and its manifest; false when nothing can open (error()).
    bool open(const QString &path);
    // The pages the manifest lists.
    int pageCount() const { return int(pageTexts.size()); }
    PageParts readPage(int index);
    // Not one page could be made of what the manifest listed.
    void failNoPages();

    int nextNumber() const { return number; }
    // Where the pages of a session were last saved as a document, if anywhere.
    QString documentPath() const { return savedAs; }
    // English texts for the message lookup: why nothing opened, and what was
    // left out of what opened.
    QString error() const { return failure; }
    QStringList notes() const { return remarks; }

private:
    QList<MainPage *> readAll();
    bool start(const QByteArray &manifestText);
    bool readManifest(ZipReader &zip, QByteArray *bytes);
    bool parseManifest(const QByteArray &bytes, QJsonObject *root);
    bool checkVersion(const QJsonObject &root);
    bool readPdfs(const QJsonObject &root);
    std::shared_ptr<PdfSource> readPdf(const QJsonObject &o);
    bool readPdfPage(const QJsonObject &o, PageParts *parts);
    void readDocumentPath(const QJsonObject &root);
    PageParts readParts(ZipReader &zip, const QJsonObject &o);
    void readObjects(ZipReader &zip, const QJsonObject &o, PageParts *parts);
    bool fits(const ObjectRecord &record, const QSize &size);
    QString backgroundCopy(ZipReader &zip, const QString &name, const QSize &pagePixels);
    QString pictureFile(ZipReader &zip, const QString &name, const ObjectRecord &record,
                        qreal ratio, QImage *decoded);
    struct Picture;
    Picture copyPicture(ZipReader &zip, const QString &name);
    const char *decodeOnce(Picture &entry);
    const char *countOnce(Picture &entry);
    bool readPixels(ZipReader &zip, const QString &name, ObjectRecord *record);
    struct Piece;
    Piece readPiece(ZipReader &zip, const QString &name);
    bool hasEntry(ZipReader &zip, const QString &name, bool inFolder);
    QString entryCopy(ZipReader &zip, const QString &name, const QString &pattern, bool inFolder);
    bool extract(ZipReader &zip, const QString &name, qint64 limit, const QString &target);
    bool spend(qint64 bytes);
    void noteUnknownKeys(const QJsonObject &o, const QStringList &known);
    void note(const QString &text);

    QString folder;
    std::unique_ptr<ZipReader> zip;
    // The manifest's text; each page is parsed from its range when it is read.
    QByteArray manifest;
    QList<JsonSlices::Range> pageTexts;
    int number = 1;
    QString savedAs;
    bool newer = false;
    qint64 budget = MaxDocumentBytes;
    DrawingLimits drawing;
    qint64 pictureBudget;
    // Every entry is read once, whatever number of objects name it.
    struct Picture
    {
        QString file; // empty when unusable
        SafeImageReader::Header header;
        bool decoded = false; // as a raster object shows it
        const char *rasterWhy = nullptr;
        QImage image; // kept for the objects to share
        bool counted = false; // its embedded pictures
        const char *svgWhy = nullptr;
    };
    struct Piece
    {
        QImage pixels;
        const char *why = nullptr;
    };
    QHash<QString, Picture> pictures;
    QHash<QString, Piece> pieces;
    // The document's PDFs, opened before its pages are read, by entry name.
    QHash<QString, std::shared_ptr<PdfSource>> pdfs;
    std::optional<QSet<QString>> entries;
    QString failure;
    QStringList remarks;
};
