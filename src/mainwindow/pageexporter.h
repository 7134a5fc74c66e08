#pragma once

#include "document/documentsnapshot.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <atomic>
#include <functional>

class PdfModule;
class QFileDevice;

// Writes pages copied out of the document to one file: a ZIP with one
// picture per page, or a PDF with one page per page, drawn as vectors. The pages are rendered
// and encoded on every core; the file is written in page order as they
// arrive. An existing file of that name is replaced only by a complete,
// read-back-checked new one; a failed or cancelled export leaves it as it
// was. Made on the GUI thread, an exporter runs its exports on any one
// thread; only cancel() may be called from another.
class PageExporter
{
public:
    explicit PageExporter(QList<PageRecord> pages);

    int pageCount() const { return int(records.size()); }

    // Told, on the exporting thread, the index of each page before it is
    // rendered, and the page count at the end.
    std::function<void(int)> progress;

    // Entries "Tavelmark_1.<suffix>", ... stored without deflating: the
    // pictures are compressed already.
    bool exportImages(const QString &strZip, const QString &strSuffix, bool bDrawingOnly);
    // PDF pages are their PDFs' own pages with the drawings laid over them;
    // other pages are A4 landscape sheets.
    bool exportPdf(const QString &strPdf);

    // Any thread: stops the running export at the next page, or before its
    // file replaces the target, or else the next export; that export then
    // returns false with wasCancelled() true and no error.
    void cancel() { cancelRequested = true; }
    bool wasCancelled() const { return cancelled; }

    // GUI thread: why the last export failed, in a sentence for the user.
    QString errorString() const;

    // A picture file's bytes in the format named by strSuffix ("bmp", "jpg",
    // "png"). Formats without transparency get the picture over white. Empty
    // when the picture cannot be encoded.
    static QByteArray encode(const QImage &image, const QString &strSuffix);

private:
    void report(int index) const;
    // The failure in English, told in the user's language by errorString();
    // `strArgument` fills its "%1".
    bool fail(const char *strEnglish, const QString &strArgument = QString());
    bool interrupted();
    void start();
    bool writeZip(QFileDevice *pFile, const QString &strSuffix, bool bDrawingOnly,
                  QStringList *pNames);
    int runLength() const;
    bool writeRuns(const QString &strTitle, bool bInk, int length, QList<QByteArray> *pRuns);
    bool assemble(PdfModule *pModule, const QList<QByteArray> &runs, QByteArray *pBytes);

    const QList<PageRecord> records;
    int resolution;
    const char *error = nullptr;
    QString errorArgument;
    std::atomic<bool> cancelRequested { false };
    bool cancelled = false;
};
