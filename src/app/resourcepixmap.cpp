#include "resourcepixmap.h"

#include "appstate.h"

#include <QFile>

// The pictures are PNG files stored without a suffix; naming the format
// spares loading every image plugin to guess it.
QPixmap ResourcePixmap::load(const QString &strPath, bool bHighRes)
{
    const QString twin = strPath + QStringLiteral("@2x");
    if (bHighRes && QFile::exists(twin)) {
        QPixmap picture(twin, "PNG");
        picture.setDevicePixelRatio(1.0);
        return picture;
    }
    return QPixmap(strPath, "PNG");
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
