#include "resourcepixmap.h"

#include "appstate.h"

#include <QFile>
#include <QImageReader>
#include <QPixmapCache>

namespace {
// The pictures are PNG files stored without a suffix. Naming the format is not
// enough: a reader still free to guess loads every image plugin, and the
// libraries behind them, to ask each whether it reads PNG.
//
// Kept in the pixmap cache, as a plain load would be: rulers and the
// protractor fetch their pictures on every repaint of a drag.
QPixmap decodePng(const QString &strPath)
{
    const QString key = QStringLiteral("tavelmark-resource:") + strPath;
    QPixmap picture;
    if (QPixmapCache::find(key, &picture))
        return picture;
    QImageReader reader(strPath, "png");
    reader.setAutoDetectImageFormat(false);
    picture = QPixmap::fromImage(reader.read());
    QPixmapCache::insert(key, picture);
    return picture;
}
} // namespace

QPixmap ResourcePixmap::load(const QString &strPath, bool bHighRes)
{
    const QString twin = strPath + QStringLiteral("@2x");
    if (bHighRes && QFile::exists(twin)) {
        QPixmap picture = decodePng(twin);
        picture.setDevicePixelRatio(1.0);
        return picture;
    }
    return decodePng(strPath);
}

QIcon ResourcePixmap::icon(const QString &strPath)
{
    QIcon result(load(strPath, false));
    result.addPixmap(load(strPath, true));
    return result;
}

QPixmap ResourcePixmap::load(const QString &strPath)
{
    return load(strPath, AppState::instance().wantsHighResPictures());
}
