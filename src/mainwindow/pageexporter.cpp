#include "pageexporter.h"

#include "app/filewriter.h"
#include "app/lang.h"
#include "app/partfiles.h"
#include "document/mainpage.h"
#include "document/pagejobs.h"
#include "document/pagerenderer.h"
#include "document/pdfloader.h"
#include "document/pdfsource.h"
#include "document/ziploader.h"
#include "document/zipmodule.h"
#include "pdfpagewriter.h"
#include "platform/newfilemode.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QPainter>
#include <QPdfWriter>
#include <QScreen>
#include <QTemporaryFile>
#include <QThread>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

constexpr int ZipStored = 0;

// zlib level 4 ((100 - quality) * 9 / 91): measured on screenshots and photos
// with drawings, it costs a quarter to nine tenths of the default level's
// time for files at most 3 % larger; level 3 was 13 % larger on photos.
constexpr int PngQuality = 55;

constexpr char WriteProtected[] = "The file is write-protected.";
constexpr char WritingFailed[] = "Writing failed; the disk may be full.";

int screenResolution()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? qRound(screen->logicalDotsPerInchX()) : 96;
}

QString entryName(int index, const QString &strSuffix)
{
    return QStringLiteral("Tavelmark_%1.%2").arg(index + 1).arg(strSuffix);
}

bool addStoredEntry(ZipWriter &zip, const QString &strName, const QByteArray &data)
{
    return zip.add(strName, data, ZipStored);
}

// Opens the archive again and reads every entry through: the names must be
// the ones written, and each entry's checksum must match its data.
bool readsBack(const QString &strPath, const QStringList &names)
{
    const std::unique_ptr<ZipReader> zip = ZipLoader::module()->reader(strPath);
    return zip && zip->names() == names
        && zip->readEvery([](const QString &, const QByteArray &) { return true; });
}

// Moves a finished file over the target in one step, so that the target is
// always either the old file or the whole new one.
bool replaceFile(const QString &strFresh, const QString &strTarget)
{
    std::error_code code;
    std::filesystem::rename(QFile::encodeName(strFresh).toStdString(),
                            QFile::encodeName(strTarget).toStdString(), code);
    return !code;
}

} // namespace

PageExporter::PageExporter(QList<PageRecord> pages)
    : records(std::move(pages))
    , resolution(screenResolution())
{
}

// Shown to the user beside the file's name.
QString PageExporter::errorString() const
{
    if (!error)
        return QString();
    return Lang::single("MessageBox", QLatin1String(error)).arg(errorArgument);
}

QByteArray PageExporter::encode(const QImage &image, const QString &strSuffix)
{
    const QString suffix = strSuffix.toLower();
    QImage picture = image;
    if (suffix != QLatin1String("png") && image.hasAlphaChannel()) {
        picture = QImage(image.size(), QImage::Format_RGB32);
        picture.fill(Qt::white);
        QPainter painter(&picture);
        painter.drawImage(0, 0, image);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, suffix.toLatin1());
    if (suffix == QLatin1String("png"))
        writer.setQuality(PngQuality);
    if (picture.isNull() || !writer.write(picture))
        return QByteArray();
    return bytes;
}

void PageExporter::report(int index) const
{
    if (progress)
        progress(index);
}

bool PageExporter::fail(const char *strEnglish, const QString &strArgument)
{
    error = strEnglish;
    errorArgument = strArgument;
    return false;
}

// Cancelled, or a page that never came because the program is quitting.
// Either way the old file stays and nothing is told; the request is used up.
bool PageExporter::interrupted()
{
    cancelRequested = false;
    cancelled = true;
    return false;
}

void PageExporter::start()
{
    error = nullptr;
    errorArgument.clear();
    cancelled = false;
}

bool PageExporter::exportImages(const QString &strZip, const QString &strSuffix, bool bDrawingOnly)
{
    start();
    const QFileInfo target(strZip);
    if (!target.absoluteDir().exists())
        return fail("The folder %1 does not exist.", target.absolutePath());
    // The rename below would replace a write-protected file all the same.
    if (FileWriter::isWriteProtected(strZip))
        return fail(WriteProtected);
    // Loaded here, on the first export; from here on it stays loaded.
    if (!ZipLoader::module())
        return fail(ZipLoader::Missing);
    PartFiles::removeStale(target.absolutePath());
    // The new archive is built beside the target, so that the final rename
    // stays on one file system.
    const std::unique_ptr<QTemporaryFile> part = PartFiles::create(strZip, PartFiles::Export);
    if (!part)
        return fail("The folder cannot be written to.");
    QStringList names;
    if (!writeZip(part.get(), strSuffix, bDrawingOnly, &names))
        return false;
    if (!readsBack(part->fileName(), names))
        return fail("The new file could not be read back; the disk may be full.");
    if (cancelRequested)
        return interrupted();
    part->setPermissions(target.exists() ? QFile::permissions(strZip) : NewFileMode::permissions());
    if (!replaceFile(part->fileName(), strZip))
        return fail("The file could not be replaced.");
    part->setAutoRemove(false);
    report(int(records.size()));
    return true;
}

// The archive closes the file when it is finished; a write the disk refused
// shows in the file's error then.
bool PageExporter::writeZip(QFileDevice *pFile, const QString &strSuffix, bool bDrawingOnly,
                            QStringList *pNames)
{
    const std::unique_ptr<ZipWriter> zip = ZipLoader::module()->writer(pFile);
    if (!zip)
        return fail("%1", pFile->errorString());
    PageJobs<QByteArray> jobs(int(records.size()),
                              [pages = records, strSuffix, bDrawingOnly](int i) {
                                  const PageRecord &page = pages.at(i);
                                  return encode(bDrawingOnly ? PageRenderer::renderObjects(page)
                                                             : PageRenderer::renderPage(page),
                                                strSuffix);
                              });
    for (int i = 0; i < records.size(); ++i) {
        report(i);
        const std::optional<QByteArray> encoded = cancelRequested ? std::nullopt : jobs.take(i);
        if (!encoded)
            return interrupted();
        const QByteArray &bytes = *encoded;
        if (bytes.isEmpty())
            return fail("Page %1 could not be encoded.", QString::number(i + 1));
        const QString name = entryName(i, strSuffix);
        if (!addStoredEntry(*zip, name, bytes))
            return fail(WritingFailed);
        pNames->append(name);
    }
    if (!zip->finish() || pFile->error() != QFileDevice::NoError)
        return fail(WritingFailed);
    return true;
}

// A document with PDF pages goes out as those PDFs' own pages with the ink
// over them; any other page, and every page of other documents, as a vector
// page of its own. Runs of pages are written in parallel and joined by the
// PDF module; without it, a document without PDF pages is written as one
// run.
bool PageExporter::exportPdf(const QString &strPdf)
{
    start();
    if (FileWriter::isWriteProtected(strPdf))
        return fail(WriteProtected);
    const bool annotated = std::any_of(records.cbegin(), records.cend(), PdfPageWriter::isPdfPage);
    PdfModule *module = PdfLoader::module();
    if (annotated && !module)
        return fail(PdfLoader::Missing);
    QList<QByteArray> runs;
    if (!writeRuns(QFileInfo(strPdf).completeBaseName(), annotated, module ? runLength() : 0,
                   &runs))
        return false;
    QByteArray bytes = runs.constFirst();
    if ((annotated || runs.size() > 1) && !assemble(module, runs, &bytes))
        return false;
    if (cancelRequested)
        return interrupted();
    if (!FileWriter::write(strPdf, bytes))
        return fail("Writing failed; the folder may be write-protected or the disk full.");
    report(int(records.size()));
    return true;
}

// Two runs per core: the cores stay busy while the runs, each with its own
// copy of the fonts used, stay few.
int PageExporter::runLength() const
{
    const int runs = 2 * qMax(1, QThread::idealThreadCount());
    return qMax(1, int((records.size() + runs - 1) / runs));
}

// Written into memory first: a PDF written straight to a full disk can be
// cut short without any error being reported. A `length` of 0 is one run.
bool PageExporter::writeRuns(const QString &strTitle, bool bInk, int length,
                             QList<QByteArray> *pRuns)
{
    const int count = int(records.size());
    const int step = length > 0 ? length : qMax(1, count);
    const int runs = qMax(1, (count + step - 1) / step);
    PageJobs<QByteArray> jobs(
        runs, [pages = records, step, strTitle, bInk, dpi = resolution](int i) {
            return PdfPageWriter::write(pages.mid(qsizetype(i) * step, step), dpi, strTitle, bInk);
        });
    for (int i = 0; i < runs; ++i) {
        for (int page = i * step; page < qMin(count, (i + 1) * step); ++page)
            report(page);
        const std::optional<QByteArray> run = cancelRequested ? std::nullopt : jobs.take(i);
        if (!run)
            return interrupted();
        if (run->isEmpty())
            return fail("The PDF could not be finished.");
        pRuns->append(*run);
    }
    return true;
}

// Replaces the runs by one PDF: the PDF pages with the ink over them, and
// the other pages as they were written.
bool PageExporter::assemble(PdfModule *pModule, const QList<QByteArray> &runs, QByteArray *pBytes)
{
    QList<PdfInput> inputs;
    QStringList sources; // by name: the same PDF opened twice is copied once
    QList<PdfPlacement> plan;
    for (const PageRecord &page : records) {
        if (!PdfPageWriter::isPdfPage(page)) {
            plan.append(PdfPlacement());
            continue;
        }
        if (!sources.contains(page.pdf->fileName())) {
            sources.append(page.pdf->fileName());
            inputs.append({ page.pdf->bytes(), page.pdf->password() });
        }
        plan.append({ int(sources.indexOf(page.pdf->fileName())), page.pdfPage });
    }
    QString why;
    if (!pModule->assemble(inputs, runs, plan, pBytes, &why))
        return fail("The PDF pages could not be copied: %1", why);
    return true;
}
