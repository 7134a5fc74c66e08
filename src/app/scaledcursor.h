#pragma once

#include <QCursor>
#include <QPoint>
#include <QString>

// A cursor picture of the resources sized 24 x 24 for the screen (its "@2x"
// twin on dense screens and with the touch interface), hot spot scaled alike.
class ScaledCursor
{
public:
    static QCursor make(const QString &strPath, const QPoint &hotSpot);
};
