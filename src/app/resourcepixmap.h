#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

// Loads a picture of the resources by base name, taking its "@2x" twin when
// asked to and when it exists.
class ResourcePixmap
{
public:
    static QPixmap load(const QString &strPath, bool bHighRes);
    // The "@2x" choice the screen and the touch interface call for.
    static QPixmap load(const QString &strPath);
    // Both sizes of a picture as an icon.
    static QIcon icon(const QString &strPath);
};
