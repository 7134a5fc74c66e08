#include "qtpdffile.h"

#include <QPainter>

QtPdfFile::QtPdfFile(const QByteArray &bytes)
    : data(bytes)
    , buffer(&data)
{
}

std::unique_ptr<PdfFile> QtPdfFile::open(const QByteArray &bytes, const QString &password,
                                         PdfRefusal *why)
{
    std::unique_ptr<QtPdfFile> file(new QtPdfFile(bytes));
    file->buffer.open(QIODevice::ReadOnly);
    file->document.setPassword(password);
    file->document.load(&file->buffer);
    switch (file->document.error()) {
    case QPdfDocument::Error::None:
        break;
    case QPdfDocument::Error::IncorrectPassword:
        *why = password.isEmpty() ? PdfRefusal::NeedsPassword : PdfRefusal::WrongPassword;
        return nullptr;
    default:
        *why = PdfRefusal::Damaged;
        return nullptr;
    }
    if (file->document.status() != QPdfDocument::Status::Ready || file->pageCount() < 1) {
        *why = PdfRefusal::Damaged;
        return nullptr;
    }
    return file;
}

// The library leaves what the page does not paint transparent; a sheet of
// paper is white.
QImage QtPdfFile::render(int index, const QSize &pixels)
{
    const QImage ink = document.render(index, pixels);
    if (ink.isNull())
        return ink;
    QImage page(pixels, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter(&page).drawImage(0, 0, ink);
    return page;
}
