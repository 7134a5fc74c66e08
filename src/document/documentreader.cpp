#include "documentreader.h"

#include "app/appstate.h"
#include "app/filewriter.h"
#include "documentnotes.h"
#include "documentwriter.h"
#include "imagesvg.h"
#include "mainpage.h"
#include "objectcodec.h"
#include "objectrecord.h"
#include "pagebuilder.h"
#include "pdfloader.h"
#include "pdfsource.h"
#include "safeimagereader.h"
#include "ziploader.h"
#include "zipmodule.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryFile>
#include <QTransform>

#include <cmath>
#include <limits>

namespace {

const char NotDocument[] = "The file is not a Tavelmark document, or it is damaged.";
const char TooLarge[] = "The document holds more than Tavelmark opens.";
using DocumentNotes::BadObjects;
using DocumentNotes::BadPages;
using DocumentNotes::BadPictures;
using DocumentNotes::TooMuchDrawing;
const char TooManyPictures[] = "The pictures of the document need more memory than Tavelmark "
                               "gives one document; some were left out.";
const char BadPdf[] = "A PDF of the document is damaged or missing; the document cannot be opened.";
const char Newer[] = "The document was made by a newer Tavelmark: what this version does not "
                     "know was left out.";

// A name as this program writes it: relative, no climbing, no odd characters.
bool isSafeName(const QString &name)
{
    if (name.isEmpty() || name.size() > 255 || name.startsWith(QLatin1Char('/'))
        || name.contains(QLatin1Char('\\')) || name.contains(QLatin1Char(':')))
        return false;
    for (const QString &part : name.split(QLatin1Char('/')))
        if (part.isEmpty() || part == QLatin1String("..") || part == QLatin1String("."))
            return false;
    return true;
}

bool sizeOf(const QJsonValue &v, int lo, int hi, QSize *size)
{
    const QJsonArray a = v.toArray();
    if (a.size() != 2)
        return false;
    const double w = a.at(0).toDouble(-1), h = a.at(1).toDouble(-1);
    if (!(w >= lo && w <= hi && h >= lo && h <= hi) || w != std::floor(w) || h != std::floor(h))
        return false;
    *size = QSize(int(w), int(h));
    return true;
}

qint64 pixelBytes(const QSize &size)
{
    return size.isValid() ? qint64(size.width()) * size.height() * 4 : 0;
}

bool isUsableRaster(const SafeImageReader::Header &header)
{
    return !header.svg && header.fileBytes <= SafeImageReader::MaxFileBytes && header.size.isValid()
        && pixelBytes(header.size) <= SafeImageReader::MaxImageBytes;
}

bool isUsableSvg(const SafeImageReader::Header &header)
{
    return header.svg && header.check.verdict == SvgCheck::Sound
        && header.fileBytes <= SafeImageReader::MaxSvgFileBytes;
}

// What an SVG object renders to for its rectangle on a page of `ratio`.
qint64 renderBytes(const ObjectRecord &record, qreal ratio)
{
    return pixelBytes(
        ImageSVG::cacheSize(QTransform::fromScale(ratio, ratio), record.rect.normalized().size()));
}

// Moved pieces are stored premultiplied, and premultiplied colours never
// exceed their alpha; a file's might.
QImage premultiplied(const QImage &picture)
{
    QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const int a = qAlpha(line[x]);
            line[x] = qRgba(qMin(qRed(line[x]), a), qMin(qGreen(line[x]), a),
                            qMin(qBlue(line[x]), a), a);
        }
    }
    pixels.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    return pixels;
}

// The program writes a page's picture as PNG, never larger than the page.
bool isBackground(const SafeImageReader::Header &header, const QSize &pagePixels)
{
    return isUsableRaster(header) && header.format == "png" && !header.size.isEmpty()
        && header.size.width() <= pagePixels.width() && header.size.height() <= pagePixels.height();
}

} // namespace

DocumentReader::DocumentReader(const QString &sessionFolder)
    : folder(sessionFolder)
    , pictureBudget(sessionFolder.isEmpty() ? MaxPictureBytes : std::numeric_limits<qint64>::max())
{
}

DocumentReader::~DocumentReader() = default;

QList<MainPage *> DocumentReader::read(const QString &path)
{
    return open(path) ? readAll() : QList<MainPage *>();
}

QList<MainPage *> DocumentReader::read(std::unique_ptr<ZipReader> source,
                                       const QByteArray &manifestText)
{
    zip = std::move(source);
    return start(manifestText) ? readAll() : QList<MainPage *>();
}

QList<MainPage *> DocumentReader::readAll()
{
    QList<MainPage *> pages;
    PageBuilder builder;
    for (int i = 0; i < pageCount(); ++i) {
        PageParts parts = readPage(i);
        if (MainPage *page = builder.build(parts))
            pages.append(page);
    }
    for (const QString &text : builder.notes())
        note(text);
    if (pages.isEmpty())
        failNoPages();
    return pages;
}

bool DocumentReader::open(const QString &path)
{
    ZipModule *module = ZipLoader::module();
    if (!module) {
        failure = QLatin1String(ZipLoader::Missing);
        return false;
    }
    zip = module->reader(path);
    QByteArray bytes;
    failure = QLatin1String(NotDocument);
    return zip && readManifest(*zip, &bytes) && start(bytes);
}

bool DocumentReader::start(const QByteArray &manifestText)
{
    QJsonObject root;
    failure = QLatin1String(NotDocument);
    if (!parseManifest(manifestText, &root) || !checkVersion(root))
        return false;
    failure.clear();
    const double next = root.value(QLatin1String("nextNumber")).toDouble(1);
    number = next >= 1 && next <= 1e9 ? int(next) : 1;
    readDocumentPath(root);
    if (pageTexts.size() > MaxPages)
        failure = QLatin1String(TooLarge);
    else if (pageTexts.isEmpty())
        failure = QStringLiteral("The document has no pages.");
    return failure.isEmpty() && readPdfs(root);
}

PageParts DocumentReader::readPage(int index)
{
    const JsonSlices::Range range = pageTexts.at(index);
    const QJsonDocument page = QJsonDocument::fromJson(
        QByteArray::fromRawData(manifest.constData() + range.start, range.length));
    PageParts parts = page.isObject() ? readParts(*zip, page.object()) : PageParts();
    if (!parts.read)
        note(QLatin1String(BadPages));
    return parts;
}

void DocumentReader::failNoPages()
{
    if (failure.isEmpty())
        failure = QLatin1String(NotDocument);
}

bool DocumentReader::readManifest(ZipReader &zip, QByteArray *bytes)
{
    const QString name = QLatin1String(DocumentWriter::ManifestName);
    const qint64 declared = zip.declaredSize(name);
    if (declared < 0)
        return false;
    bool tooLarge = declared > MaxManifestBytes;
    // The header's size may lie: the limit holds while inflating.
    const bool whole = !tooLarge && zip.read(name, [&](const QByteArray &block) {
        *bytes += block;
        tooLarge = bytes->size() > MaxManifestBytes;
        return !tooLarge;
    });
    if (tooLarge)
        failure = QLatin1String(TooLarge);
    if (!whole)
        return false;
    budget -= bytes->size();
    return true;
}

bool DocumentReader::parseManifest(const QByteArray &bytes, QJsonObject *root)
{
    QByteArray rest;
    if (!JsonSlices::split(bytes, QByteArrayLiteral("pages"), &rest, &pageTexts))
        return false;
    manifest = bytes;
    const QJsonDocument doc = QJsonDocument::fromJson(rest);
    if (!doc.isObject()
        || doc.object().value(QLatin1String("format")).toString() != QLatin1String("tavelmark"))
        return false;
    *root = doc.object();
    return true;
}

bool DocumentReader::checkVersion(const QJsonObject &root)
{
    const QJsonArray version = root.value(QLatin1String("version")).toArray();
    const int major = version.at(0).toInt(-1), minor = version.at(1).toInt(-1);
    if (major < 0 || minor < 0) {
        failure = QLatin1String(NotDocument);
        return false;
    }
    if (major != DocumentWriter::Major && major != DocumentWriter::PdfMajor) {
        failure = QStringLiteral("The document was made by a version of Tavelmark that writes "
                                 "another format; this version cannot open it.");
        return false;
    }
    newer = minor > DocumentWriter::Minor;
    if (newer)
        noteUnknownKeys(root,
                        { QStringLiteral("format"), QStringLiteral("version"),
                          QStringLiteral("nextNumber"), QStringLiteral("pages"),
                          QStringLiteral("documentPath"), QStringLiteral("pdfs") });
    return true;
}

// Every PDF is opened before any page is read: a page cannot show without
// its PDF, so one that does not open refuses the whole document.
bool DocumentReader::readPdfs(const QJsonObject &root)
{
    const QJsonArray list = root.value(QLatin1String("pdfs")).toArray();
    if (list.size() > MaxPages) {
        failure = QLatin1String(TooLarge);
        return false;
    }
    for (const QJsonValue &v : list) {
        const QString name = v.toObject().value(QLatin1String("file")).toString();
        if (pdfs.contains(name))
            continue;
        std::shared_ptr<PdfSource> source = readPdf(v.toObject());
        if (!source)
            return false;
        pdfs.insert(name, source);
    }
    return true;
}

std::shared_ptr<PdfSource> DocumentReader::readPdf(const QJsonObject &o)
{
    const QString name = o.value(QLatin1String("file")).toString();
    const QString password = o.value(QLatin1String("password")).toString();
    failure = QLatin1String(BadPdf);
    const qint64 declared = isSafeName(name) ? zip->declaredSize(name) : -1;
    const qint64 limit = qMin(PdfBounds::MaxBytes, budget);
    if (declared < 0 || declared > limit || password.size() > MaxPasswordLength)
        return nullptr;
    QByteArray bytes;
    const bool whole = zip->read(name, [&](const QByteArray &block) {
        bytes += block;
        return bytes.size() <= limit;
    });
    budget -= bytes.size();
    if (!whole)
        return nullptr;
    PdfRefusal why = PdfRefusal::None;
    std::shared_ptr<PdfSource> source = PdfSource::open(bytes, password, &why);
    if (source)
        failure.clear();
    else if (!PdfLoader::module())
        failure = QLatin1String(PdfLoader::Missing);
    return source;
}

// Only the program's own session names where its document is saved: a file
// from elsewhere must not choose where Save writes.
void DocumentReader::readDocumentPath(const QJsonObject &root)
{
    const QString named = root.value(QLatin1String("documentPath")).toString();
    if (!folder.isEmpty() && named.size() <= MaxPathLength && QFileInfo(named).isAbsolute())
        savedAs = QDir::cleanPath(named);
}

PageParts DocumentReader::readParts(ZipReader &zip, const QJsonObject &o)
{
    PageParts parts;
    const double ratio = o.value(QLatin1String("pixelRatio")).toDouble(qQNaN());
    const QColor colour = QColor::fromString(o.value(QLatin1String("colour")).toString());
    if (!sizeOf(o.value(QLatin1String("size")), 1, MaxPageSide, &parts.size)
        || !sizeOf(o.value(QLatin1String("pixelSize")), 1, 4 * MaxPageSide, &parts.pixels)
        || qint64(parts.pixels.width()) * parts.pixels.height() * 4 > SafeImageReader::MaxImageBytes
        || !(ratio >= 0.25 && ratio <= 8) || !colour.isValid())
        return parts;
    if (newer)
        noteUnknownKeys(
            o,
            { QStringLiteral("size"), QStringLiteral("pixelSize"), QStringLiteral("pixelRatio"),
              QStringLiteral("background"), QStringLiteral("colour"), QStringLiteral("picture"),
              QStringLiteral("pdf"), QStringLiteral("pdfPage"), QStringLiteral("objects") });
    const QString background = o.value(QLatin1String("background")).toString();
    if (background == QLatin1String("pdf") && !readPdfPage(o, &parts))
        return parts;
    parts.read = true;
    parts.ratio = ratio;
    parts.colour = colour;
    if (background == QLatin1String("picture")) {
        parts.background
            = backgroundCopy(zip, o.value(QLatin1String("picture")).toString(), parts.pixels);
        if (parts.background.isEmpty())
            note(QLatin1String(BadPictures));
    }
    readObjects(zip, o, &parts);
    return parts;
}

// A page of one of the document's PDFs, which were opened already.
bool DocumentReader::readPdfPage(const QJsonObject &o, PageParts *parts)
{
    const std::shared_ptr<PdfSource> source = pdfs.value(o.value(QLatin1String("pdf")).toString());
    const double index = o.value(QLatin1String("pdfPage")).toDouble(-1);
    if (!source || !(index >= 0 && index < source->pageCount()) || index != std::floor(index))
        return false;
    parts->pdf = source;
    parts->pdfPage = int(index);
    return true;
}

void DocumentReader::readObjects(ZipReader &zip, const QJsonObject &o, PageParts *parts)
{
    drawing.startPage();
    for (const QJsonValue &v : o.value(QLatin1String("objects")).toArray()) {
        // Millions of objects past the limit would each be read for nothing.
        if (drawing.isPageFull()) {
            note(QLatin1String(TooMuchDrawing));
            break;
        }
        PageParts::Part part;
        QString picture;
        const ObjectCodec::Verdict verdict
            = ObjectCodec::decode(v.toObject(), &part.record, &picture);
        if (verdict != ObjectCodec::Read) {
            note(newer && verdict == ObjectCodec::UnknownKind ? QLatin1String(Newer)
                                                              : QLatin1String(BadObjects));
            continue;
        }
        if (!fits(part.record, parts->size))
            continue;
        if (newer)
            noteUnknownKeys(
                v.toObject(),
                ObjectCodec::knownKeys(v.toObject().value(QLatin1String("kind")).toString()));
        if (part.record.kind == KindSelect && !picture.isEmpty()
            && !readPixels(zip, picture, &part.record))
            continue;
        if (part.record.isPicture()) {
            part.file = pictureFile(zip, picture, part.record, parts->ratio, &part.picture);
            if (part.file.isEmpty())
                continue;
        }
        parts->objects.append(part);
    }
}

bool DocumentReader::fits(const ObjectRecord &record, const QSize &size)
{
    if (!DrawingLimits::isNearPage(record, size)) {
        note(QLatin1String(BadObjects));
        return false;
    }
    if (!drawing.admit(record)) {
        note(QLatin1String(TooMuchDrawing));
        return false;
    }
    return true;
}

// A checked copy of a page's picture. Only its header is read: the picture
// is decoded when its page is shown.
QString DocumentReader::backgroundCopy(ZipReader &zip, const QString &name, const QSize &pagePixels)
{
    QString copy = entryCopy(zip, name, QStringLiteral("background-XXXXXX.png"), !folder.isEmpty());
    if (!copy.isEmpty() && !isBackground(SafeImageReader::inspect(copy), pagePixels)) {
        QFile::remove(copy);
        copy.clear();
    }
    return copy;
}

// The file of an image object's picture, or an empty name when the object
// is left out (and said why); a raster object's pixels in `decoded`. Each
// entry is copied and checked once however many objects name it; the budget
// pays for its decoded pixels once, and for what each SVG object renders to.
QString DocumentReader::pictureFile(ZipReader &zip, const QString &name, const ObjectRecord &record,
                                    qreal ratio, QImage *decoded)
{
    // Only entries that exist are kept: a document may name thousands that do not.
    if (!isSafeName(name) || !hasEntry(zip, name, !folder.isEmpty())) {
        note(QLatin1String(BadPictures));
        return QString();
    }
    auto it = pictures.find(name);
    if (it == pictures.end())
        it = pictures.insert(name, copyPicture(zip, name));
    Picture &entry = *it;
    const char *why = entry.file.isEmpty() ? BadPictures : nullptr;
    if (!why && record.kind == KindImageStatic)
        why = decodeOnce(entry);
    else if (!why)
        why = entry.header.svg ? countOnce(entry) : BadPictures;
    if (!why && record.kind == KindImageSVG && !spend(renderBytes(record, ratio)))
        why = TooManyPictures;
    if (why) {
        note(QLatin1String(why));
        return QString();
    }
    if (record.kind == KindImageStatic)
        *decoded = entry.image;
    return entry.file;
}

DocumentReader::Picture DocumentReader::copyPicture(ZipReader &zip, const QString &name)
{
    static const QStringList suffixes { QStringLiteral("png"), QStringLiteral("jpg"),
                                        QStringLiteral("jpeg"), QStringLiteral("bmp"),
                                        QStringLiteral("svg") };
    Picture picture;
    const QString suffix = QFileInfo(name).suffix().toLower();
    if (suffixes.contains(suffix))
        picture.file
            = entryCopy(zip, name, QStringLiteral("document-XXXXXX.") + suffix, !folder.isEmpty());
    if (picture.file.isEmpty())
        return picture;
    picture.header = SafeImageReader::inspect(picture.file);
    if (!isUsableSvg(picture.header) && !isUsableRaster(picture.header)) {
        QFile::remove(picture.file);
        picture.file.clear();
    }
    return picture;
}

// The picture as a raster object shows it, decoded once for all such objects
// and kept for them to share. Its header's size is paid before decoding, so
// nothing past the budget is decoded.
const char *DocumentReader::decodeOnce(Picture &entry)
{
    if (entry.decoded)
        return entry.rasterWhy;
    entry.decoded = true;
    entry.rasterWhy = TooManyPictures;
    if (pixelBytes(entry.header.size) > pictureBudget)
        return entry.rasterWhy;
    entry.image = SafeImageReader::read(entry.file);
    if (entry.image.isNull())
        entry.rasterWhy = BadPictures;
    else if (spend(pixelBytes(entry.image.size())))
        entry.rasterWhy = nullptr;
    if (entry.rasterWhy)
        entry.image = QImage();
    return entry.rasterWhy;
}

// The pictures embedded in an SVG entry, decoded once by the renderer that its
// objects share.
const char *DocumentReader::countOnce(Picture &entry)
{
    if (!entry.counted) {
        entry.counted = true;
        entry.svgWhy = spend(entry.header.check.embeddedBytes) ? nullptr : TooManyPictures;
    }
    return entry.svgWhy;
}

// The pixels of a moved piece, shared by the pieces that name the same entry.
bool DocumentReader::readPixels(ZipReader &zip, const QString &name, ObjectRecord *record)
{
    if (!isSafeName(name) || !hasEntry(zip, name, false)) {
        note(QLatin1String(BadPictures));
        return false;
    }
    auto it = pieces.find(name);
    if (it == pieces.end())
        it = pieces.insert(name, readPiece(zip, name));
    if (it->why)
        note(QLatin1String(it->why));
    record->image = it->pixels;
    return !it->why;
}

DocumentReader::Piece DocumentReader::readPiece(ZipReader &zip, const QString &name)
{
    Piece piece { QImage(), BadPictures };
    const QString file = entryCopy(zip, name, QStringLiteral("moved-XXXXXX.png"), false);
    if (file.isEmpty())
        return piece;
    const SafeImageReader::Header header = SafeImageReader::inspect(file);
    if (isUsableRaster(header) && pixelBytes(header.size) > pictureBudget)
        piece.why = TooManyPictures;
    else if (isUsableRaster(header))
        piece.pixels = premultiplied(SafeImageReader::read(file));
    QFile::remove(file);
    if (!piece.pixels.isNull())
        piece.why = spend(pixelBytes(piece.pixels.size())) ? nullptr : TooManyPictures;
    if (piece.why)
        piece.pixels = QImage();
    return piece;
}

// Looked for before any file is made or anything is kept.
bool DocumentReader::hasEntry(ZipReader &zip, const QString &name, bool inFolder)
{
    if (inFolder)
        return !name.contains(QLatin1Char('/')) && QFileInfo(QDir(folder).filePath(name)).isFile();
    if (!entries) {
        const QStringList names = zip.names();
        entries = QSet<QString>(names.cbegin(), names.cend());
    }
    return entries->contains(name);
}

// A fresh copy of an entry in the temporary folder, or an empty name.
QString DocumentReader::entryCopy(ZipReader &zip, const QString &name, const QString &pattern,
                                  bool inFolder)
{
    if (!isSafeName(name) || !hasEntry(zip, name, inFolder))
        return QString();
    QTemporaryFile copy(AppState::instance().tempFolder + pattern);
    if (!copy.open())
        return QString();
    copy.close();
    const bool copied = inFolder
        ? FileWriter::copy(QDir(folder).filePath(name), copy.fileName(),
                           QFile::ReadOwner | QFile::WriteOwner)
        : extract(zip, name, SafeImageReader::MaxFileBytes, copy.fileName());
    if (!copied)
        return QString();
    copy.setAutoRemove(false);
    return copy.fileName();
}

bool DocumentReader::spend(qint64 bytes)
{
    if (bytes > pictureBudget)
        return false;
    pictureBudget -= bytes;
    return true;
}

bool DocumentReader::extract(ZipReader &zip, const QString &name, qint64 limit,
                             const QString &target)
{
    const qint64 declared = isSafeName(name) ? zip.declaredSize(name) : -1;
    limit = qMin(limit, budget);
    if (declared < 0 || declared > limit)
        return false;
    QFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    qint64 total = 0;
    const bool whole = zip.read(name, [&](const QByteArray &block) {
        total += block.size();
        return total <= limit && out.write(block) == block.size();
    });
    budget -= total;
    return whole && out.flush();
}

void DocumentReader::noteUnknownKeys(const QJsonObject &o, const QStringList &known)
{
    for (auto it = o.begin(); it != o.end(); ++it)
        if (!known.contains(it.key())) {
            note(QLatin1String(Newer));
            return;
        }
}

void DocumentReader::note(const QString &text)
{
    if (!remarks.contains(text))
        remarks.append(text);
}
