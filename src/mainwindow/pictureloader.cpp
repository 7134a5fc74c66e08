#include "pictureloader.h"

#include "document/safeimagereader.h"

#include <QFileInfo>

namespace {

// The decoder's own checks may still refuse a file the header check let by.
PictureCheck::Refusal readInto(const QString &strFile, bool bDecode, QImage *pImage)
{
    const PictureCheck::Refusal why = PictureCheck::check(strFile);
    if (!why.isAccepted() || !bDecode)
        return why;
    *pImage = SafeImageReader::read(strFile);
    return pImage->isNull() ? PictureCheck::unreadable(QFileInfo(strFile).fileName()) : why;
}

} // namespace

PictureLoader::PictureLoader(QStringList pictureFiles, bool bDecode, QObject *pParent)
    : QObject(pParent)
    , files(std::move(pictureFiles))
    , decode(bDecode)
{
    worker.setMaxThreadCount(1);
}

PictureLoader::~PictureLoader()
{
    worker.waitForDone();
}

// The result is queued to this object, which waits for the worker before it
// goes and so takes a result still queued along.
bool PictureLoader::readNext()
{
    if (next >= files.size())
        return false;
    const int index = next++;
    worker.start([this, index, file = files.at(index), bDecode = decode] {
        QImage image;
        const PictureCheck::Refusal why = readInto(file, bDecode, &image);
        // Moved, never copied: the receiver converts the only copy in place.
        QMetaObject::invokeMethod(
            this,
            [this, index, why, image = std::move(image)]() mutable {
                picture = std::move(image);
                Q_EMIT signal_Read(index, why);
                picture = QImage();
            },
            Qt::QueuedConnection);
    });
    return true;
}
