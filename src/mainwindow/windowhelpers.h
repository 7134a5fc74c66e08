#pragma once

#include <QPoint>
#include <QString>

class QWidget;

// Centres pWidget on the primary screen (or on the screen the main window
// uses), a little above the middle. A widget larger than the screen both ways
// is left where it is.
void CentreOnScreen(QWidget *pWidget, bool bPrimary);
// bNativeStyle false: a Qt tool window; true: keeps the native window out of
// the taskbar.
void MakeToolWindow(QWidget *pWidget, bool bNativeStyle);
// Sets a cursor picture from the resources (":/Cursor/Cross" when strPath is
// empty), sized 24 x 24 scaled for the screen, hot spot scaled alike.
void SetScaledCursor(QWidget *pWidget, const QString &strPath, const QPoint &hotSpot);
