#include "waylandsession.h"

#include <QByteArray>
#include <QtGlobal>

bool WaylandSession::detected()
{
    return qgetenv("XDG_SESSION_TYPE") == "wayland" || !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

void WaylandSession::preferXWayland()
{
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    if (!detected() || qgetenv("DISPLAY").isEmpty()
        || (!asked.isEmpty() && !asked.startsWith("wayland")))
        return;
    qputenv("QT_QPA_PLATFORM", "xcb");
}
