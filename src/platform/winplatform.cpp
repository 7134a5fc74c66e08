#include "winplatform.h"

#include "win/winapi.h"

#include <QWidget>

QString WinPlatform::name() const
{
    return QStringLiteral("windows");
}

void WinPlatform::setTopmost(QWidget *pWidget)
{
    winapi::setTopmost(reinterpret_cast<void *>(pWidget->winId()));
}

void WinPlatform::setToolWindowStyle(QWidget *pWidget)
{
    winapi::setToolWindowStyle(reinterpret_cast<void *>(pWidget->winId()));
}

bool WinPlatform::isCompositionAvailable()
{
    return winapi::isCompositionAvailable();
}
