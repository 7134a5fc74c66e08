#include "resourcepixmap.h"

#include "appstate.h"

#include <QFile>

QPixmap ResourcePixmap::load(const QString &strPath, bool bHighRes)
{
    const QString twin = strPath + QStringLiteral("@2x");
    if (bHighRes && QFile::exists(twin)) {
        QPixmap picture(twin);
        picture.setDevicePixelRatio(1.0);
        return picture;
    }
    return QPixmap(strPath);
}

QPixmap ResourcePixmap::load(const QString &strPath)
{
    return load(strPath, AppState::instance().wantsHighResPictures());
}
