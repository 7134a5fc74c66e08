#include "winplatform.h"

#include "app/hotkeyrecord.h"
#include "win/hotkeywindow.h"
#include "win/winapi.h"

#include <QWidget>

WinPlatform::~WinPlatform() = default;

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

bool WinPlatform::registerHotKey(int iId, const HotKeyRecord &record)
{
    if (!hotKeyWindow) {
        hotKeyWindow = std::make_unique<HotKeyWindow>(
            [](void *pContext, int iFired) {
                emit static_cast<HotKeyEvents *>(pContext)->signal_HotKey(iFired);
            },
            &hotKeyEvents());
    }
    return hotKeyWindow->registerHotKey(iId, record.ctrl, record.shift, record.alt, record.win,
                                        record.virtualKey);
}

void WinPlatform::unregisterHotKey(int iId)
{
    if (hotKeyWindow)
        hotKeyWindow->unregisterHotKey(iId);
}
