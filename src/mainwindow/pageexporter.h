#pragma once

#include "document/documentsnapshot.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

class MainView;
class QFileDevice;
class QPainter;
class QPdfWriter;

// Writes every page of the document to one file: a ZIP with one picture per
// page, or a PDF with one page per page. The pages are copied out when the
// export starts and rendered and encoded on every core; the file is written
// in page order as they arrive. An existing file of that name is replaced
// only by a complete, read-back-checked new one; a failed or cancelled
// export leaves it as it was.
class PageExporter
{
public:
    explicit PageExporter(const MainView *pView);

    // Told the index of each page before it is rendered, and the page count
    // at the end; a caller keeps its progress display alive here.
    std::function<void(int)> progress;

    // Entries "Tavelmark_1.<suffix>", ... stored without deflating: the
    // pictures are compressed already.
    bool exportImages(const QString &strZip, const QString &strSuffix, bool bDrawingOnly);
    bool exportPdf(const QString &strPdf);

    // Stops the running export at the next page; it then returns false with
    // wasCancelled() true and no error.
    void cancel() { cancelRequested = true; }
    bool wasCancelled() const { return cancelRequested; }

    // Why the last export failed, in a sentence for the user.
    QString errorString() const { return error; }

    // A picture file's bytes in the format named by strSuffix ("bmp", "jpg",
    // "png"). Formats without transparency get the picture over white. Empty
    // when the picture cannot be encoded.
    static QByteArray encode(const QImage &image, const QString &strSuffix);

private:
    void report(int index) const;
    bool fail(const QString &strError);
    bool interrupted();
    QList<PageRecord> start();
    bool writeZip(QFileDevice *pFile, const QList<PageRecord> &records, const QString &strSuffix,
                  bool bDrawingOnly, QStringList *pNames);
    bool paintPdf(QPainter &painter, QPdfWriter &writer, const QList<PageRecord> &records);

    const MainView *view;
    QString error;
    bool cancelRequested = false;
};
