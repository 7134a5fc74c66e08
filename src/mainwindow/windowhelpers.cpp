#include "windowhelpers.h"

#include "app/scaledcursor.h"
#include "app/screeninuse.h"
#include "platform/platform.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget *pWidget, bool bPrimary)
{
    QScreen *screen = bPrimary ? QGuiApplication::primaryScreen() : ScreenInUse::screen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    if (pWidget->width() > area.width() && pWidget->height() > area.height())
        return;
    pWidget->move(area.left() + (area.width() + 1 - pWidget->width()) / 2,
                  area.top() + (area.height() + 1 - pWidget->height()) / 2 - 39);
}

void MakeToolWindow(QWidget *pWidget, bool bNativeStyle)
{
    if (bNativeStyle)
        Platform::instance().setToolWindowStyle(pWidget);
    else
        pWidget->setWindowFlags(pWidget->windowFlags() | Qt::Tool);
}

void SetScaledCursor(QWidget *pWidget, const QString &strPath, const QPoint &hotSpot)
{
    const QString path = strPath.isEmpty() ? QStringLiteral(":/Cursor/Cross") : strPath;
    pWidget->setCursor(ScaledCursor::make(path, hotSpot));
}
