#include "winplatform.h"

#include "nativecoordinates.h"
#include "platform/hotkeyrecord.h"
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

QString WinPlatform::noCompositionAdvice() const
{
    return QStringLiteral("Desktop Window Manager (DWM) composition is disabled.");
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

WId WinPlatform::topLevelWindowAt(const QPoint &globalPos, const QList<WId> &excluded)
{
    const QPoint native = NativeCoordinates::toNative(globalPos);
    const WId window = WId(winapi::topLevelWindowAt(native.x(), native.y()));
    return excluded.contains(window) ? 0 : window;
}

QRect WinPlatform::windowFrameRect(WId window)
{
    int left = 0, top = 0, right = 0, bottom = 0;
    if (!winapi::windowRect(reinterpret_cast<void *>(window), &left, &top, &right, &bottom))
        return QRect();
    return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

bool WinPlatform::showWindowFrame(WId window)
{
    return winapi::drawWindowFrame(reinterpret_cast<void *>(window));
}

void WinPlatform::hideWindowFrame(WId window)
{
    winapi::eraseWindowFrame(reinterpret_cast<void *>(window));
}
