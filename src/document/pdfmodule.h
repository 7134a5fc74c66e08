#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QtPlugin>

#include <memory>

// One opened PDF. It is used by one thread at a time (`PdfSource` keeps it
// so), not necessarily the one that opened it.
class PdfFile
{
public:
    virtual ~PdfFile() = default;
    virtual int pageCount() const = 0;
    // In points, as the page is shown: its rotation applied.
    virtual QSizeF pageSize(int index) const = 0;
    // The page stretched to exactly `pixels`, over white; null when it
    // cannot be rendered.
    virtual QImage render(int index, const QSize &pixels) = 0;
};

// Why a PDF could not be opened.
enum class PdfRefusal {
    None,
    NeedsPassword,
    WrongPassword,
    Damaged, // not a PDF, or one the renderer cannot read
    TooLarge, // beyond the bounds of an untrusted document
};

// What an opened PDF may be: PDFs come from anyone. A lesson's slides with
// their photos stay far below the bytes, which are held in memory while the
// PDF is shown. A page count past what a document holds could never be
// saved, and each page's size is read at opening (some 0.1 ms a page). The
// sides are those a PDF may declare (200 inches), from one point up. A
// render fills at most an 8K screen's box twice over.
struct PdfBounds
{
    static constexpr qint64 MaxBytes = 256LL * 1024 * 1024;
    static constexpr int MaxPages = 1000;
    static constexpr qreal MinSide = 1;
    static constexpr qreal MaxSide = 14400;
    static constexpr qint64 MaxRenderPixels = 8192LL * 8192;
};

// One page of an assembled PDF: page `page` of source `source` with the ink
// page of the same number laid over it, or the ink page alone when `source`
// is negative.
struct PdfPlacement
{
    int source = -1;
    int page = -1;
};

// A PDF that pages come from, as the assembler needs it.
struct PdfInput
{
    QByteArray bytes;
    QString password;
};

// The PDF support, a module of its own (see ZipModule for why): rendering
// with Qt's PDF library, merging pages with qpdf. It keeps no state between
// calls.
class PdfModule
{
public:
    virtual ~PdfModule() = default;
    // The document in `bytes`, or nothing with the reason in `why`.
    virtual std::unique_ptr<PdfFile> open(const QByteArray &bytes, const QString &password,
                                          PdfRefusal *why)
        = 0;
    // A new PDF whose page i is `plan[i]` (see PdfPlacement) over ink page
    // i: the pages of the PDFs in `inks` one after another, one per entry of
    // `plan` (several, so that they can be written in parallel). The
    // sources' own content is copied untouched; the document information is
    // the first ink PDF's. False with the reason in `error`.
    virtual bool assemble(const QList<PdfInput> &sources, const QList<QByteArray> &inks,
                          const QList<PdfPlacement> &plan, QByteArray *out, QString *error)
        = 0;
};

#define PdfModule_iid "example.quillbury.tavelmark.PdfModule/1"
Q_DECLARE_INTERFACE(PdfModule, PdfModule_iid)
