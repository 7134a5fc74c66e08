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
// paper is white. The white goes under the page in its own pixels: a second
// full page of fresh memory costs more in page faults than the render.
QImage QtPdfFile::render(int index, const QSize &pixels)
{
    QImage page = document.render(index, pixels);
    if (page.isNull())
        return page;
    {
        QPainter painter(&page);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOver);
        painter.fillRect(page.rect(), Qt::white);
    }
    page.convertTo(QImage::Format_RGB32);
    return page;
}
