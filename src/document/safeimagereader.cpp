#include "safeimagereader.h"

#include <QImageReader>

namespace {

// QImageReader's own limit is process-wide. Raise it to ours only for one
// read and put it back, so that other readers keep whatever limit they had.
class AllocationLimitScope
{
public:
    explicit AllocationLimitScope(int megabytes)
        : m_previous(QImageReader::allocationLimit())
    {
        if (m_previous != 0 && m_previous < megabytes)
            QImageReader::setAllocationLimit(megabytes);
    }
    ~AllocationLimitScope() { QImageReader::setAllocationLimit(m_previous); }

private:
    int m_previous;
};

} // namespace

QImage SafeImageReader::read(const QString &path)
{
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return QImage();
    if (qint64(size.width()) * size.height() * 4 > MaxImageBytes)
        return QImage();
    const AllocationLimitScope limit(int(MaxImageBytes / (1024 * 1024)));
    return reader.read();
}
