#pragma once

#include <QDBusConnection>
#include <QImage>

// Client of the desktop portal's Screenshot interface, the only way a program
// sees the screen in a Wayland session. A picture is asked for without a
// dialog first; a desktop that refuses that is asked again interactively.
class ScreenshotPortal
{
public:
    explicit ScreenshotPortal(const QDBusConnection &bus);

    static constexpr int QuietDeadlineMs = 15000;
    // A dialog may wait for the user.
    static constexpr int InteractiveDeadlineMs = 120000;

    // The interface version the desktop offers; 0 when no portal offers it.
    uint version() const;
    // The whole desktop as the portal delivers it, or a null image with
    // *pError telling why (English).
    QImage take(QString *pError);

private:
    static QImage readPicture(const QString &strUri, QString *pError);

    QDBusConnection bus;
    bool taking = false;
};
