#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

class MainView;
class QFileDevice;

// Writes every page of the document to one file: a ZIP with one picture per
// page, or a PDF with one page per page. An existing file of that name is
// replaced only by a complete, read-back-checked new one; a failed export
// leaves it as it was.
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

    // Why the last export failed, in a sentence for the user.
    QString errorString() const { return error; }

    // A picture file's bytes in the format named by strSuffix ("bmp", "jpg",
    // "png"). Formats without transparency get the picture over white. Empty
    // when the picture cannot be encoded.
    static QByteArray encode(const QImage &image, const QString &strSuffix);

private:
    QImage pagePicture(int index, bool bDrawingOnly) const;
    void report(int index) const;
    bool fail(const QString &strError);
    bool writeZip(QFileDevice *pFile, const QString &strSuffix, bool bDrawingOnly,
                  QStringList *pNames);

    const MainView *view;
    QString error;
};
