#include "nullplatform.h"

#include <QGuiApplication>
#include <QWidget>

QString NullPlatform::name() const
{
    return QStringLiteral("null");
}

void NullPlatform::setTopmost(QWidget *pWidget)
{
    pWidget->raise();
}

void NullPlatform::setToolWindowStyle(QWidget *) { }

bool NullPlatform::isCompositionAvailable()
{
    // Wayland compositors always blend translucent windows.
    return QGuiApplication::platformName() == QLatin1String("wayland");
}

bool NullPlatform::registerHotKey(int, const HotKeyRecord &)
{
    return false;
}

void NullPlatform::unregisterHotKey(int) { }

WId NullPlatform::topLevelWindowAt(const QPoint &, const QList<WId> &)
{
    return 0;
}

QRect NullPlatform::windowFrameRect(WId)
{
    return QRect();
}

bool NullPlatform::showWindowFrame(WId)
{
    return false;
}

void NullPlatform::hideWindowFrame(WId) { }
