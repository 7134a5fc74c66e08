#include "qtpdffile.h"

#include "pdfpagetree.h"

#include <QPainter>

#include <cmath>

QtPdfFile::QtPdfFile(const QByteArray &bytes)
    : data(bytes)
    , buffer(&data)
{
}

std::unique_ptr<PdfFile> QtPdfFile::open(const QByteArray &bytes, const QString &password,
                                         PdfRefusal *why)
{
    if (bytes.size() > PdfBounds::MaxBytes) {
        *why = PdfRefusal::TooLarge;
        return nullptr;
    }
    *why = PdfPageTree::check(bytes, password);
    if (*why != PdfRefusal::None)
        return nullptr;
    std::unique_ptr<QtPdfFile> file(new QtPdfFile(bytes));
    *why = file->load(password);
    if (*why == PdfRefusal::None)
        *why = file->readSizes();
    return *why == PdfRefusal::None ? std::move(file) : nullptr;
}

PdfRefusal QtPdfFile::load(const QString &password)
{
    buffer.open(QIODevice::ReadOnly);
    document.setPassword(password);
    document.load(&buffer);
    switch (document.error()) {
    case QPdfDocument::Error::None:
        break;
    case QPdfDocument::Error::IncorrectPassword:
        return password.isEmpty() ? PdfRefusal::NeedsPassword : PdfRefusal::WrongPassword;
    default:
        return PdfRefusal::Damaged;
    }
    if (document.status() != QPdfDocument::Status::Ready || document.pageCount() < 1)
        return PdfRefusal::Damaged;
    return document.pageCount() > PdfBounds::MaxPages ? PdfRefusal::TooLarge : PdfRefusal::None;
}

// Every page's size, read once: a page the library cannot size has none.
PdfRefusal QtPdfFile::readSizes()
{
    const int count = document.pageCount();
    sizes.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QSizeF size = document.pagePointSize(i);
        if (!(std::isfinite(size.width()) && std::isfinite(size.height())
              && size.width() >= PdfBounds::MinSide && size.height() >= PdfBounds::MinSide))
            return PdfRefusal::Damaged;
        if (size.width() > PdfBounds::MaxSide || size.height() > PdfBounds::MaxSide)
            return PdfRefusal::TooLarge;
        sizes.append(size);
    }
    return PdfRefusal::None;
}

// The library leaves what the page does not paint transparent; a sheet of
// paper is white. The white goes behind in place, so that a page costs one
// picture's memory.
QImage QtPdfFile::render(int index, const QSize &pixels)
{
    if (index < 0 || index >= pageCount() || pixels.isEmpty()
        || qint64(pixels.width()) * pixels.height() > PdfBounds::MaxRenderPixels)
        return QImage();
    QImage page = document.render(index, pixels);
    if (page.isNull())
        return page;
    page.convertTo(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&page);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(page.rect(), Qt::white);
    }
    page.convertTo(QImage::Format_RGB32);
    return page;
}
