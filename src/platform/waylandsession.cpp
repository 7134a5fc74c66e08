#include "waylandsession.h"

#include <QByteArray>
#include <QtGlobal>

#include <xcb/xcb.h>

namespace {

// No platform asked for, or Wayland's, which this program replaces with X's.
bool wantsX()
{
    const QByteArray asked = qgetenv("QT_QPA_PLATFORM");
    return asked.isEmpty() || asked.startsWith("wayland") || asked.startsWith("xcb");
}

bool xDisplayAnswers()
{
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

} // namespace

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

bool WaylandSession::lacksXWayland()
{
    return detected() && wantsX() && !xDisplayAnswers();
}
