#include "documentwriter.h"

#include "app/filewriter.h"
#include "app/partfiles.h"
#include "mainpage.h"
#include "obj.h"
#include "objectcodec.h"
#include "pdfsource.h"
#include "platform/newfilemode.h"
#include "ziploader.h"
#include "zipmodule.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <utility>

const char DocumentWriter::ManifestName[] = "manifest.json";

namespace {

bool addFileEntry(ZipWriter &zip, const QString &name, const QString &file)
{
    QFile source(file);
    return source.open(QIODevice::ReadOnly) && zip.addFrom(name, &source);
}

QString pictureName(const QString &file, DocumentWriter::Pictures mode, const QString &stem,
                    QList<DocumentWriter::Entry> *entries)
{
    if (mode == DocumentWriter::Referenced)
        return QFileInfo(file).fileName();
    const QString suffix = QFileInfo(file).suffix().toLower();
    const QString name = QStringLiteral("pictures/%1-%2.%3")
                             .arg(stem)
                             .arg(entries->size() + 1)
                             .arg(suffix.isEmpty() ? QStringLiteral("png") : suffix);
    entries->append({ name, file, QImage(), QByteArray() });
    return name;
}

// Moved pieces live only in memory, so every document holds them. Their
// premultiplied pixels are kept as they are: converting them to plain alpha
// and back would change faint pixels.
QString pixelsName(const QImage &image, QList<DocumentWriter::Entry> *entries)
{
    const QString name = QStringLiteral("pictures/moved-%1.png").arg(entries->size() + 1);
    entries->append({ name, QString(), image, QByteArray() });
    return name;
}

// Whether a picture's own file still reads to its end: when it does, a
// failed entry was the new file's failure, not the picture's.
bool readsWhole(const QString &file)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return false;
    while (!source.atEnd()) {
        if (source.read(1 << 20).isEmpty())
            return false;
    }
    return true;
}

// Why the new file took no more. A write that fills the disk may come back
// short without an error, so the folder's free space decides as well.
QString writeFailure(const QIODevice *device)
{
    constexpr qint64 NearlyFullBytes = qint64(64) * 1024;
    const auto *file = qobject_cast<const QFileDevice *>(device);
    const bool full = file
        && (file->error() == QFileDevice::ResourceError
            || QStorageInfo(QFileInfo(file->fileName()).absolutePath()).bytesAvailable()
                < NearlyFullBytes);
    return full ? QStringLiteral("The disk is full.")
                : QStringLiteral("The file could not be written; the disk may be full.");
}

QJsonArray sizeArray(const QSize &size)
{
    return QJsonArray { size.width(), size.height() };
}

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}

// The manifest around its pages, which go between the two. Keys are written
// in order and quotes in strings escaped, so the empty array found is the
// pages'.
std::pair<QByteArray, QByteArray> rootAround(const DocumentSnapshot &snapshot)
{
    QJsonObject root;
    root.insert(QLatin1String("format"), QLatin1String("tavelmark"));
    root.insert(QLatin1String("version"),
                QJsonArray { DocumentWriter::majorOf(snapshot), DocumentWriter::Minor });
    root.insert(QLatin1String("nextNumber"), snapshot.nextNumber);
    if (!snapshot.documentPath.isEmpty())
        root.insert(QLatin1String("documentPath"), snapshot.documentPath);
    const QJsonArray pdfs = DocumentWriter::pdfList(snapshot, DocumentWriter::Embedded);
    if (!pdfs.isEmpty())
        root.insert(QLatin1String("pdfs"), pdfs);
    root.insert(QLatin1String("pages"), QJsonArray());
    const QByteArray bytes = compact(root);
    const QByteArray pages = "\"pages\":[";
    const qsizetype at = bytes.lastIndexOf(pages + ']') + pages.size();
    return { bytes.left(at), bytes.mid(at) };
}

bool replaceFile(const QString &fresh, const QString &target)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(fresh).toStdString(),
                            QFile::encodeName(target).toStdString(), code);
    return !code;
}

constexpr int ManifestLevel = 1;

} // namespace

QByteArray DocumentWriter::manifest(const DocumentSnapshot &snapshot, Pictures mode,
                                    QList<Entry> *entries)
{
    const auto [head, tail] = rootAround(snapshot);
    QByteArrayList pages;
    for (const PageRecord &page : snapshot.pages)
        pages.append(compact(pageObject(page, mode, entries)));
    if (mode == Embedded)
        appendPdfs(snapshot, entries);
    return head + pages.join(',') + tail;
}

int DocumentWriter::majorOf(const DocumentSnapshot &snapshot)
{
    for (const PageRecord &page : snapshot.pages)
        if (page.background == MainPage::PdfBackground && page.pdf)
            return PdfMajor;
    return Major;
}

QJsonArray DocumentWriter::pdfList(const DocumentSnapshot &snapshot, Pictures mode)
{
    QJsonArray list;
    QSet<QString> listed;
    for (const PageRecord &page : snapshot.pages) {
        if (page.background != MainPage::PdfBackground || !page.pdf
            || listed.contains(page.pdf->fileName()))
            continue;
        listed.insert(page.pdf->fileName());
        QJsonObject o;
        o.insert(QLatin1String("file"), pdfName(*page.pdf, mode));
        if (!page.pdf->password().isEmpty())
            o.insert(QLatin1String("password"), page.pdf->password());
        list.append(o);
    }
    return list;
}

QString DocumentWriter::pdfName(const PdfSource &pdf, Pictures mode)
{
    return mode == Referenced ? pdf.fileName() : QStringLiteral("pdfs/") + pdf.fileName();
}

// After the pages' own entries, so that a kept page's entries keep their
// numbers.
void DocumentWriter::appendPdfs(const DocumentSnapshot &snapshot, QList<Entry> *entries)
{
    QSet<QString> added;
    for (const PageRecord &page : snapshot.pages) {
        if (page.background != MainPage::PdfBackground || !page.pdf
            || added.contains(page.pdf->fileName()))
            continue;
        added.insert(page.pdf->fileName());
        entries->append({ pdfName(*page.pdf, Embedded), QString(), QImage(), page.pdf->bytes() });
    }
}

QByteArray DocumentWriter::encodePixels(const QImage &image)
{
    QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    pixels.reinterpretAsFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return pixels.save(&buffer, "png", 80) ? bytes : QByteArray();
}

QJsonObject DocumentWriter::pageObject(const PageRecord &page, Pictures mode, QList<Entry> *entries)
{
    QJsonObject o;
    o.insert(QLatin1String("size"), sizeArray(page.size));
    o.insert(QLatin1String("pixelSize"), sizeArray(page.pixelSize));
    o.insert(QLatin1String("pixelRatio"), page.pixelRatio);
    const bool pdf = page.background == MainPage::PdfBackground && page.pdf;
    const bool picture = !pdf && !page.pictureFile.isEmpty();
    const QLatin1String kind = pdf ? QLatin1String("pdf")
        : picture                  ? QLatin1String("picture")
                                   : QLatin1String("colour");
    o.insert(QLatin1String("background"), kind);
    o.insert(QLatin1String("colour"), page.colour.name(QColor::HexArgb));
    if (picture)
        o.insert(QLatin1String("picture"),
                 pictureName(page.pictureFile, mode, QStringLiteral("page"), entries));
    if (pdf) {
        o.insert(QLatin1String("pdf"), pdfName(*page.pdf, mode));
        o.insert(QLatin1String("pdfPage"), page.pdfPage);
    }
    QJsonArray objects;
    for (const ObjectRecord &r : page.objects) {
        QString picture;
        if (r.isPicture())
            picture = pictureName(r.file, mode, QStringLiteral("object"), entries);
        else if (r.kind == KindSelect && !r.image.isNull())
            picture = pixelsName(r.image, entries);
        objects.append(ObjectCodec::encode(r, picture));
    }
    o.insert(QLatin1String("objects"), objects);
    return o;
}

bool DocumentWriter::readsBack(const QString &path, const QStringList &names)
{
    ZipModule *module = ZipLoader::module();
    const std::unique_ptr<ZipReader> zip = module ? module->reader(path) : nullptr;
    return zip && zip->names() == names && zip->checkEvery();
}

bool DocumentWriter::write(const DocumentSnapshot &snapshot, const QString &target, Pictures mode)
{
    error.clear();
    if (FileWriter::isWriteProtected(target))
        return fail(QStringLiteral("The file is write-protected."));
    ZipModule *module = ZipLoader::module();
    if (!module)
        return fail(QLatin1String(ZipLoader::Missing));
    QList<Entry> entries;
    const QList<ZipPiece> manifest = encode(*module, snapshot, mode, &entries);
    const QFileInfo info(target);
    PartFiles::removeStale(info.absolutePath());
    const std::unique_ptr<QTemporaryFile> part = PartFiles::create(target, PartFiles::Document);
    if (!part)
        return fail(QStringLiteral("The folder cannot be written to."));
    if (!writeZip(*module, part.get(), manifest, entries))
        return false;
    QStringList names { QLatin1String(ManifestName) };
    for (const Entry &e : std::as_const(entries))
        names.append(e.name);
    // Every entry's checksum, the manifest's too, is read back: a stored
    // picture costs a read, not a decode.
    if (!readsBack(part->fileName(), names))
        return fail(QStringLiteral("The new file could not be read back; the disk may be full."));
    part->setPermissions(info.exists() ? QFile::permissions(target) : NewFileMode::permissions());
    if (!replaceFile(part->fileName(), target))
        return fail(QStringLiteral("The new file could not take the old one's place."));
    part->setAutoRemove(false);
    return true;
}

// Each page's part of the manifest is kept, deflated on its own, while the
// page stays as it was; its moved pieces are kept encoded with it.
QList<ZipPiece> DocumentWriter::encode(ZipModule &module, const DocumentSnapshot &snapshot,
                                       Pictures mode, QList<Entry> *entries)
{
    const auto [head, tail] = rootAround(snapshot);
    QList<ZipPiece> pieces { module.deflate(head, ManifestLevel) };
    QHash<int, PagePart> kept;
    for (qsizetype i = 0; i < snapshot.pages.size(); ++i) {
        const PageRecord &page = snapshot.pages.at(i);
        const auto known = parts.constFind(page.id);
        PagePart part;
        if (known != parts.cend() && known->holds(page, mode, int(entries->size()), i > 0)) {
            part = *known;
            entries->append(part.entries);
        } else {
            part = encodePage(module, page, mode, i > 0, entries);
        }
        pieces.append(part.piece);
        if (page.id != 0)
            kept.insert(page.id, part);
    }
    if (mode == Embedded)
        appendPdfs(snapshot, entries);
    pieces.append(module.deflate(tail, ManifestLevel));
    parts = kept;
    return pieces;
}

DocumentWriter::PagePart DocumentWriter::encodePage(ZipModule &module, const PageRecord &page,
                                                    Pictures mode, bool leadingComma,
                                                    QList<Entry> *entries)
{
    PagePart part;
    part.page = page;
    part.page.objects.clear();
    part.page.picture = QImage();
    part.mode = mode;
    part.firstEntry = int(entries->size());
    part.leadingComma = leadingComma;
    const QByteArray json = compact(pageObject(page, mode, entries));
    part.piece = module.deflate(leadingComma ? ',' + json : json, ManifestLevel);
    for (qsizetype i = part.firstEntry; i < entries->size(); ++i) {
        Entry &e = (*entries)[i];
        if (!e.image.isNull())
            e.bytes = DocumentWriter::encodePixels(e.image);
        part.entries.append(e);
    }
    return part;
}

bool DocumentWriter::PagePart::holds(const PageRecord &other, Pictures otherMode, int otherFirst,
                                     bool comma) const
{
    return other.id != 0 && other.revision == page.revision && otherMode == mode
        && otherFirst == firstEntry && comma == leadingComma && piece.size >= 0
        && other.size == page.size && other.pixelSize == page.pixelSize
        && qFuzzyCompare(other.pixelRatio, page.pixelRatio) && other.background == page.background
        && other.colour == page.colour && other.pictureFile == page.pictureFile
        && other.pdf == page.pdf && other.pdfPage == page.pdfPage;
}

// Pictures and PDFs are compressed already; deflating them again costs much
// time for almost nothing.
bool DocumentWriter::writeZip(ZipModule &module, QIODevice *device, const QList<ZipPiece> &manifest,
                              const QList<Entry> &entries)
{
    const std::unique_ptr<ZipWriter> zip = module.writer(device);
    if (!zip)
        return fail(QStringLiteral("The file could not be created."));
    bool written = zip->addDeflated(QLatin1String(ManifestName), manifest);
    for (const Entry &e : entries) {
        if (!written)
            break;
        written = !e.file.isEmpty()
            ? addFileEntry(*zip, e.name, e.file)
            : zip->add(e.name, e.bytes.isEmpty() ? DocumentWriter::encodePixels(e.image) : e.bytes,
                       0);
        if (!written && !e.file.isEmpty() && !readsWhole(e.file))
            return fail(QStringLiteral("A picture of the document could not be read."));
    }
    if (!written || !zip->finish())
        return fail(writeFailure(device));
    return true;
}

bool DocumentWriter::fail(const QString &why)
{
    error = why;
    return false;
}
