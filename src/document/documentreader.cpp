#include "documentreader.h"

#include "app/appstate.h"
#include "app/filewriter.h"
#include "documentwriter.h"
#include "mainpage.h"
#include "obj.h"
#include "objectcodec.h"
#include "objectrecord.h"
#include "objtext.h"
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
#include <QTextDocument>

#include <cmath>

namespace {

const char NotDocument[] = "The file is not a Tavelmark document, or it is damaged.";
const char TooLarge[] = "The document holds more than Tavelmark opens.";
const char BadObjects[] = "Some drawings of the document could not be read and were left out.";
const char BadPictures[] = "Some pictures of the document could not be used and were left out.";
const char TooMuchDrawing[] = "A page of the document holds more drawing than Tavelmark opens; "
                              "the rest was left out.";
const char BadPages[] = "Some pages of the document could not be read and were left out.";
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

bool isUsablePicture(const QString &file)
{
    const SafeImageReader::Header header = SafeImageReader::inspect(file);
    if (header.svg)
        return !SafeImageReader::readSvg(file).isEmpty();
    return header.fileBytes <= SafeImageReader::MaxFileBytes && header.size.isValid()
        && qint64(header.size.width()) * header.size.height() * 4 <= SafeImageReader::MaxImageBytes
        && !SafeImageReader::read(file).isNull();
}

} // namespace

DocumentReader::DocumentReader(const QString &sessionFolder)
    : folder(sessionFolder)
{
}

DocumentReader::~DocumentReader() = default;

QList<MainPage *> DocumentReader::read(const QString &path)
{
    QList<MainPage *> pages;
    ZipModule *module = ZipLoader::module();
    if (!module) {
        failure = QLatin1String(ZipLoader::Missing);
        return pages;
    }
    const std::unique_ptr<ZipReader> zip = module->reader(path);
    QJsonObject root;
    failure = QLatin1String(NotDocument);
    if (!zip || !readManifest(*zip, &root) || !checkVersion(root))
        return pages;
    failure.clear();
    const double next = root.value(QLatin1String("nextNumber")).toDouble(1);
    number = next >= 1 && next <= 1e9 ? int(next) : 1;
    readDocumentPath(root);
    const QJsonArray list = root.value(QLatin1String("pages")).toArray();
    if (list.size() > MaxPages) {
        failure = QLatin1String(TooLarge);
        return pages;
    }
    for (const QJsonValue &v : list) {
        if (MainPage *page = v.isObject() ? readPage(*zip, v.toObject()) : nullptr)
            pages.append(page);
        else
            note(QLatin1String(BadPages));
    }
    if (pages.isEmpty() && failure.isEmpty())
        failure = list.isEmpty() ? QStringLiteral("The document has no pages.")
                                 : QLatin1String(NotDocument);
    return pages;
}

bool DocumentReader::readManifest(ZipReader &zip, QJsonObject *root)
{
    const QString name = QLatin1String(DocumentWriter::ManifestName);
    const qint64 declared = zip.declaredSize(name);
    if (declared < 0)
        return false;
    bool tooLarge = declared > MaxManifestBytes;
    QByteArray bytes;
    // The header's size may lie: the limit holds while inflating.
    const bool whole = !tooLarge && zip.read(name, [&](const QByteArray &block) {
        bytes += block;
        tooLarge = bytes.size() > MaxManifestBytes;
        return !tooLarge;
    });
    if (tooLarge)
        failure = QLatin1String(TooLarge);
    if (!whole)
        return false;
    budget -= bytes.size();
    const QJsonDocument doc = QJsonDocument::fromJson(bytes);
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
    if (major != DocumentWriter::Major) {
        failure = QStringLiteral("The document was made by a version of Tavelmark that writes "
                                 "another format; this version cannot open it.");
        return false;
    }
    newer = minor > DocumentWriter::Minor;
    if (newer)
        noteUnknownKeys(root,
                        { QStringLiteral("format"), QStringLiteral("version"),
                          QStringLiteral("nextNumber"), QStringLiteral("pages"),
                          QStringLiteral("documentPath") });
    return true;
}

// Only the program's own session names where its document is saved: a file
// from elsewhere must not choose where Save writes.
void DocumentReader::readDocumentPath(const QJsonObject &root)
{
    const QString named = root.value(QLatin1String("documentPath")).toString();
    if (!folder.isEmpty() && named.size() <= MaxPathLength && QFileInfo(named).isAbsolute())
        savedAs = QDir::cleanPath(named);
}

MainPage *DocumentReader::readPage(ZipReader &zip, const QJsonObject &o)
{
    QSize size, pixels;
    const double ratio = o.value(QLatin1String("pixelRatio")).toDouble(qQNaN());
    const QColor colour = QColor::fromString(o.value(QLatin1String("colour")).toString());
    if (!sizeOf(o.value(QLatin1String("size")), 1, MaxPageSide, &size)
        || !sizeOf(o.value(QLatin1String("pixelSize")), 1, 4 * MaxPageSide, &pixels)
        || qint64(pixels.width()) * pixels.height() * 4 > SafeImageReader::MaxImageBytes
        || !(ratio >= 0.25 && ratio <= 8) || !colour.isValid())
        return nullptr;
    if (newer)
        noteUnknownKeys(o,
                        { QStringLiteral("size"), QStringLiteral("pixelSize"),
                          QStringLiteral("pixelRatio"), QStringLiteral("background"),
                          QStringLiteral("colour"), QStringLiteral("picture"),
                          QStringLiteral("objects") });
    auto *page = new MainPage(size, false);
    page->setPixels(pixels, ratio);
    page->colour = colour;
    if (o.value(QLatin1String("background")).toString() == QLatin1String("picture")
        && !readBackground(zip, o.value(QLatin1String("picture")).toString(), page))
        note(QLatin1String(BadPictures));
    readObjects(zip, o, page);
    page->modified = false;
    return page;
}

void DocumentReader::readObjects(ZipReader &zip, const QJsonObject &o, MainPage *page)
{
    QList<Obj *> objects;
    drawing.startPage();
    for (const QJsonValue &v : o.value(QLatin1String("objects")).toArray()) {
        // Millions of objects past the limit would each be read for nothing.
        if (drawing.isPageFull()) {
            note(QLatin1String(TooMuchDrawing));
            break;
        }
        ObjectRecord record;
        QString picture;
        const ObjectCodec::Verdict verdict = ObjectCodec::decode(v.toObject(), &record, &picture);
        if (verdict != ObjectCodec::Read) {
            note(newer && verdict == ObjectCodec::UnknownKind ? QLatin1String(Newer)
                                                              : QLatin1String(BadObjects));
            continue;
        }
        if (!fits(record, page->size))
            continue;
        if (newer)
            noteUnknownKeys(
                v.toObject(),
                ObjectCodec::knownKeys(v.toObject().value(QLatin1String("kind")).toString()));
        if (record.kind == KindSelect && !picture.isEmpty() && !readPixels(zip, picture, &record)) {
            note(QLatin1String(BadPictures));
            continue;
        }
        QString file;
        if (record.isPicture()) {
            file = pictureCopy(zip, picture, QFileInfo(picture).suffix().toLower());
            if (file.isEmpty()) {
                note(QLatin1String(BadPictures));
                continue;
            }
        }
        if (Obj *obj = build(record, file))
            objects.append(obj);
    }
    page->appendObjects(objects, false);
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

// Null when the object cannot be made, or when its text passes what the
// page lays out.
Obj *DocumentReader::build(const ObjectRecord &record, const QString &file)
{
    Obj *obj = record.create(file);
    if (!obj) {
        note(QLatin1String(BadObjects));
        return nullptr;
    }
    const auto *text = obj->kind == KindText ? static_cast<const ObjText *>(obj) : nullptr;
    if (text && !drawing.admitCharacters(text->document->characterCount() - 1)) {
        delete obj;
        note(QLatin1String(TooMuchDrawing));
        return nullptr;
    }
    return obj;
}

bool DocumentReader::readBackground(ZipReader &zip, const QString &name, MainPage *page)
{
    const QString target = MainPage::backgroundFile(page->id);
    bool usable = false;
    if (!folder.isEmpty())
        usable = isSafeName(name) && !name.contains(QLatin1Char('/'))
            && FileWriter::copy(QDir(folder).filePath(name), target,
                                QFile::ReadOwner | QFile::WriteOwner);
    else
        usable = extract(zip, name, SafeImageReader::MaxFileBytes, target);
    const SafeImageReader::Header header = SafeImageReader::inspect(target);
    usable = usable && !header.svg && isUsablePicture(target);
    if (!usable) {
        QFile::remove(target);
        return false;
    }
    page->background = MainPage::PictureBackground;
    return true;
}

// The picture of an image object, under a fresh name in the temporary folder.
QString DocumentReader::pictureCopy(ZipReader &zip, const QString &name, const QString &suffix)
{
    static const QStringList suffixes { QStringLiteral("png"), QStringLiteral("jpg"),
                                        QStringLiteral("jpeg"), QStringLiteral("bmp"),
                                        QStringLiteral("svg") };
    if (!isSafeName(name) || !suffixes.contains(suffix))
        return QString();
    QTemporaryFile copy(AppState::instance().tempFolder + QStringLiteral("document-XXXXXX.")
                        + suffix);
    if (!copy.open())
        return QString();
    copy.close();
    const bool usable = folder.isEmpty()
        ? extract(zip, name, SafeImageReader::MaxFileBytes, copy.fileName())
        : !name.contains(QLatin1Char('/'))
            && FileWriter::copy(QDir(folder).filePath(name), copy.fileName(),
                                QFile::ReadOwner | QFile::WriteOwner);
    if (!usable || !isUsablePicture(copy.fileName()))
        return QString();
    copy.setAutoRemove(false);
    return copy.fileName();
}

// The pixels of a moved piece, stored premultiplied.
bool DocumentReader::readPixels(ZipReader &zip, const QString &name, ObjectRecord *record)
{
    QTemporaryFile copy(AppState::instance().tempFolder + QStringLiteral("moved-XXXXXX.png"));
    if (!copy.open())
        return false;
    copy.close();
    if (!extract(zip, name, SafeImageReader::MaxFileBytes, copy.fileName())
        || !isUsablePicture(copy.fileName()))
        return false;
    QImage pixels = SafeImageReader::read(copy.fileName()).convertToFormat(QImage::Format_ARGB32);
    // Premultiplied colours never exceed their alpha; a file's might.
    for (int y = 0; y < pixels.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(pixels.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const int a = qAlpha(line[x]);
            line[x] = qRgba(qMin(qRed(line[x]), a), qMin(qGreen(line[x]), a),
                            qMin(qBlue(line[x]), a), a);
        }
    }
    pixels.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    record->image = pixels;
    return !pixels.isNull();
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
