#include "safeimagereader.h"

#include "decodedsize.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>

namespace {

// QImageReader's own limit is process-wide. Raise it to ours only for one
// read and put it back, so that other readers keep whatever limit they had.
class AllocationLimitScope
{
public:
    explicit AllocationLimitScope(int megabytes)
        : previous(QImageReader::allocationLimit())
    {
        if (previous != 0 && previous < megabytes)
            QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimitScope() { QImageReader::setAllocationLimit(previous); }

private:
    int previous;
};

bool fits(const QSize &size, qint64 budget)
{
    return size.isValid() && !size.isEmpty() && qint64(size.width()) * size.height() * 4 <= budget;
}

QByteArray readDocument(const QString &path)
{
    QFile file(path);
    if (file.size() > SafeImageReader::MaxSvgFileBytes || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.read(SafeImageReader::MaxSvgFileBytes);
}

} // namespace

SafeImageReader::Header SafeImageReader::inspect(const QString &path)
{
    Header header;
    header.fileBytes = QFileInfo(path).size();
    QImageReader reader(path);
    // The format plugins only peek at the first bytes here.
    reader.setDecideFormatFromContent(true);
    header.format = reader.format();
    header.svg = header.format.startsWith("svg");
    if (!header.svg) {
        if (header.fileBytes <= MaxFileBytes)
            header.size = DecodedSize::isSizable(header.format)
                ? DecodedSize::of(reader.device(), header.format)
                : reader.size();
        return header;
    }
    if (header.fileBytes > MaxSvgFileBytes)
        return header;
    const QByteArray document = readDocument(path);
    header.check = SvgCheck::check(document, MaxImageBytes);
    if (header.check.verdict == SvgCheck::Sound)
        header.size = QSvgRenderer(document).defaultSize();
    return header;
}

QByteArray SafeImageReader::readSvg(const QString &path)
{
    const QByteArray document = readDocument(path);
    return SvgCheck::check(document, MaxImageBytes).verdict == SvgCheck::Sound ? document
                                                                               : QByteArray();
}

QImage SafeImageReader::read(const QString &path)
{
    const Header header = inspect(path);
    if (!header.svg && header.fileBytes > MaxFileBytes)
        return QImage();
    if (!fits(header.size, MaxImageBytes - header.check.embeddedBytes))
        return QImage();
    const AllocationLimitScope limit(int(MaxImageBytes / (qint64(1024) * 1024)));
    if (!header.svg) {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        return reader.read();
    }
    QSvgRenderer renderer(readSvg(path));
    QImage picture(header.size, QImage::Format_ARGB32_Premultiplied);
    if (!renderer.isValid() || picture.isNull())
        return QImage();
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    return picture;
}
