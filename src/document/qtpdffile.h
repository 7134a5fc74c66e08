#pragma once

#include "pdfmodule.h"

#include <QBuffer>
#include <QList>
#include <QPdfDocument>
#include <QSizeF>

// A PDF opened with Qt's PDF library, from bytes kept for its lifetime, held
// within PdfBounds.
class QtPdfFile : public PdfFile
{
public:
    static std::unique_ptr<PdfFile> open(const QByteArray &bytes, const QString &password,
                                         PdfRefusal *why);

    int pageCount() const override { return int(sizes.size()); }
    QSizeF pageSize(int index) const override { return sizes.value(index); }
    QImage render(int index, const QSize &pixels) override;

private:
    explicit QtPdfFile(const QByteArray &bytes);

    PdfRefusal load(const QString &password);
    PdfRefusal readSizes();

    QByteArray data;
    QBuffer buffer;
    QPdfDocument document;
    QList<QSizeF> sizes;
};
