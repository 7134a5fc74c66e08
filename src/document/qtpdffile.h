#pragma once

#include "pdfmodule.h"

#include <QBuffer>
#include <QPdfDocument>

// A PDF opened with Qt's PDF library, from bytes kept for its lifetime.
class QtPdfFile : public PdfFile
{
public:
    static std::unique_ptr<PdfFile> open(const QByteArray &bytes, const QString &password,
                                         PdfRefusal *why);

    int pageCount() const override { return document.pageCount(); }
    QSizeF pageSize(int index) const override { return document.pagePointSize(index); }
    QImage render(int index, const QSize &pixels) override;

private:
    explicit QtPdfFile(const QByteArray &bytes);

    QByteArray data;
    QBuffer buffer;
    QPdfDocument document;
};
