#include "documentwriter.h"

#include "app/filewriter.h"
#include "app/partfiles.h"
#include "obj.h"
#include "objectcodec.h"
#include "platform/newfilemode.h"
#include "ziploader.h"
#include "zipmodule.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStorageInfo>
#include <QTemporaryFile>

#include <filesystem>

const char DocumentWriter::ManifestName[] = "manifest.json";

namespace {

bool addFileEntry(ZipWriter &zip, const QString &name, const QString &file)
{
    QFile source(file);
    return source.open(QIODevice::ReadOnly) && zip.addFrom(name, &source);
}

// The archive read through again: the same names, each entry's checksum
// right, and the manifest the one written.
bool readsBack(ZipModule &module, const QString &path, const QStringList &names,
               const QByteArray &manifest)
{
    const std::unique_ptr<ZipReader> zip = module.reader(path);
    if (!zip || zip->names() != names)
        return false;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const bool whole = zip->readEvery([&](const QString &name, const QByteArray &block) {
        if (name == QLatin1String(DocumentWriter::ManifestName))
            hash.addData(block);
        return true;
    });
    return whole && hash.result() == QCryptographicHash::hash(manifest, QCryptographicHash::Sha1);
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
    entries->append({ name, file, QImage() });
    return name;
}

// Moved pieces live only in memory, so every document holds them. Their
// premultiplied pixels are kept as they are: converting them to plain alpha
// and back would change faint pixels.
QString pixelsName(const QImage &image, QList<DocumentWriter::Entry> *entries)
{
    const QString name = QStringLiteral("pictures/moved-%1.png").arg(entries->size() + 1);
    entries->append({ name, QString(), image });
    return name;
}

QByteArray encodePixels(const QImage &image)
{
    QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    pixels.reinterpretAsFormat(QImage::Format_ARGB32);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return pixels.save(&buffer, "png", 80) ? bytes : QByteArray();
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

} // namespace

QJsonObject DocumentWriter::pageObject(const PageRecord &page, Pictures mode, QList<Entry> *entries)
{
    QJsonObject o;
    o.insert(QLatin1String("size"), sizeArray(page.size));
    o.insert(QLatin1String("pixelSize"), sizeArray(page.pixelSize));
    o.insert(QLatin1String("pixelRatio"), page.pixelRatio);
    const bool picture = !page.pictureFile.isEmpty();
    o.insert(QLatin1String("background"),
             picture ? QLatin1String("picture") : QLatin1String("colour"));
    o.insert(QLatin1String("colour"), page.colour.name(QColor::HexArgb));
    if (picture)
        o.insert(QLatin1String("picture"),
                 pictureName(page.pictureFile, mode, QStringLiteral("page"), entries));
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

namespace {

bool replaceFile(const QString &fresh, const QString &target)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(fresh).toStdString(),
                            QFile::encodeName(target).toStdString(), code);
    return !code;
}

} // namespace

QByteArray DocumentWriter::manifest(const DocumentSnapshot &snapshot, Pictures mode,
                                    QList<Entry> *entries)
{
    QJsonArray pages;
    for (const PageRecord &page : snapshot.pages)
        pages.append(pageObject(page, mode, entries));
    QJsonObject root;
    root.insert(QLatin1String("format"), QLatin1String("tavelmark"));
    root.insert(QLatin1String("version"), QJsonArray { Major, Minor });
    root.insert(QLatin1String("nextNumber"), snapshot.nextNumber);
    if (!snapshot.documentPath.isEmpty())
        root.insert(QLatin1String("documentPath"), snapshot.documentPath);
    root.insert(QLatin1String("pages"), pages);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool DocumentWriter::write(const DocumentSnapshot &snapshot, const QString &target, Pictures mode)
{
    error.clear();
    if (FileWriter::isWriteProtected(target))
        return fail(QStringLiteral("The file is write-protected."));
    QList<Entry> entries;
    const QByteArray bytes = manifest(snapshot, mode, &entries);
    const QFileInfo info(target);
    PartFiles::removeStale(info.absolutePath());
    const std::unique_ptr<QTemporaryFile> part = PartFiles::create(target, PartFiles::Document);
    if (!part)
        return fail(QStringLiteral("The folder cannot be written to."));
    ZipModule *module = ZipLoader::module();
    if (!module)
        return fail(QLatin1String(ZipLoader::Missing));
    if (!writeZip(*module, part.get(), bytes, entries))
        return false;
    QStringList names { QLatin1String(ManifestName) };
    for (const Entry &e : std::as_const(entries))
        names.append(e.name);
    if (!readsBack(*module, part->fileName(), names, bytes))
        return fail(QStringLiteral("The new file could not be read back; the disk may be full."));
    part->setPermissions(info.exists() ? QFile::permissions(target) : NewFileMode::permissions());
    if (!replaceFile(part->fileName(), target))
        return fail(QStringLiteral("The new file could not take the old one's place."));
    part->setAutoRemove(false);
    return true;
}

// Pictures are compressed already; deflating them again costs much time for
// almost nothing.
bool DocumentWriter::writeZip(ZipModule &module, QIODevice *device, const QByteArray &manifest,
                              const QList<Entry> &entries)
{
    const std::unique_ptr<ZipWriter> zip = module.writer(device);
    if (!zip)
        return fail(QStringLiteral("The file could not be created."));
    bool written = zip->add(QLatin1String(ManifestName), manifest, 1);
    for (const Entry &e : entries) {
        if (!written)
            break;
        written = e.image.isNull() ? addFileEntry(*zip, e.name, e.file)
                                   : zip->add(e.name, encodePixels(e.image), 0);
        if (!written && e.image.isNull() && !readsWhole(e.file))
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
