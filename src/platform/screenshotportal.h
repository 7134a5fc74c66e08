#pragma once

#include "portalrequest.h"

#include <QDBusConnection>
#include <QImage>
#include <QObject>

// Client of the desktop portal's Screenshot interface, the only way a program
// sees the screen in a Wayland session. A picture is asked for without a
// dialog first; a desktop that refuses that is asked again interactively.
// Nothing waits: the answer comes as a signal, and a deadline makes sure it
// comes.
class ScreenshotPortal : public QObject
{
    Q_OBJECT
public:
    static constexpr int QuietDeadlineMs = 15000;

    // iQuietDeadlineMs: how long a picture asked for without a dialog may take.
    explicit ScreenshotPortal(const QDBusConnection &bus, int iQuietDeadlineMs = QuietDeadlineMs,
                              QObject *pParent = nullptr);
    ~ScreenshotPortal() override;

    // A dialog may wait for the user.
    static constexpr int InteractiveDeadlineMs = 120000;

    // The interface version the desktop offers; 0 when no portal offers it.
    uint version() const;
    // Asks for the whole desktop; signal_Taken answers. While a picture is
    // on its way, asking again waits for the same one.
    void take();
    // Gives up the picture on its way: the portal is told, no answer comes.
    void cancel();
    bool isTaking() const;

Q_SIGNALS:
    // The desktop's dialog asks the user now.
    void signal_AskingUser();
    // The desktop as the portal delivered it, or a null image and why (English).
    void signal_Taken(const QImage &picture, const QString &strWhy);

private:
    void ask(bool bInteractive);
    void answered(const PortalRequest::Answer &answer, bool bInteractive);
    static QImage readPicture(const QString &strUri, QString *pError);

    QDBusConnection bus;
    int quietDeadlineMs;
    // The request on its way, or null.
    PortalRequest *request = nullptr;
};
