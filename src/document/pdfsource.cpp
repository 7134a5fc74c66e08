#include "pdfsource.h"

#include "pdfloader.h"

#include <QCryptographicHash>

std::shared_ptr<PdfSource> PdfSource::open(const QByteArray &bytes, const QString &password,
                                           PdfRefusal *pWhy)
{
    PdfRefusal why = PdfRefusal::Damaged;
    PdfModule *module = PdfLoader::module();
    std::unique_ptr<PdfFile> file = module ? module->open(bytes, password, &why) : nullptr;
    if (pWhy)
        *pWhy = file ? PdfRefusal::None : why;
    if (!file)
        return nullptr;
    std::shared_ptr<PdfSource> source(new PdfSource);
    source->data = bytes;
    source->secret = password;
    source->name
        = QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex())
        + QLatin1String(".pdf");
    for (int i = 0; i < file->pageCount(); ++i)
        source->sizes.append(file->pageSize(i));
    source->file = std::move(file);
    return source;
}

QSize PdfSource::fittedSize(int index, const QSize &box) const
{
    const QSizeF points = pageSize(index);
    if (points.isEmpty() || box.isEmpty())
        return QSize();
    const QSize fitted = points.scaled(QSizeF(box), Qt::KeepAspectRatio).toSize();
    return fitted.boundedTo(box).expandedTo(QSize(1, 1));
}

QImage PdfSource::render(int index, const QSize &box) const
{
    const QSize pixels = fittedSize(index, box);
    if (pixels.isEmpty())
        return QImage();
    const QMutexLocker lock(&mutex);
    return file->render(index, pixels);
}
