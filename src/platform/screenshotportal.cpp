#include "screenshotportal.h"

#include "portalrequest.h"

#include <QDebug>
#include <QFile>
#include <QImageReader>
#include <QUrl>

namespace {

const QString Interface = QStringLiteral("org.freedesktop.portal.Screenshot");

// A desktop picture is the size of all screens together: generous, but bounded.
constexpr qint64 MaxPicturePixels = qint64(16384) * 8192;
constexpr int MaxPictureMiB = 512;

PortalRequest::Answer ask(const QDBusConnection &bus, bool bInteractive)
{
    PortalRequest request(bus);
    const QVariantMap options { { QStringLiteral("interactive"), bInteractive },
                                { QStringLiteral("modal"), bInteractive } };
    return request.run(Interface, QStringLiteral("Screenshot"), { QString() }, options,
                       bInteractive ? ScreenshotPortal::InteractiveDeadlineMs
                                    : ScreenshotPortal::QuietDeadlineMs);
}

// Why an answer holds no picture (English), or empty when it does.
QString failure(const PortalRequest::Answer &answer)
{
    if (!answer.callError.isEmpty()) {
        qWarning().noquote() << "Screenshot portal:" << answer.callError;
        return QStringLiteral(
            "The desktop offers no screenshot portal (org.freedesktop.portal.Screenshot). "
            "Install xdg-desktop-portal with the portal of your desktop "
            "(xdg-desktop-portal-gnome, -kde or -wlr).");
    }
    if (answer.timedOut)
        return QStringLiteral("The desktop's screenshot portal did not answer in time.");
    if (answer.code == 1)
        return QStringLiteral("The screenshot was cancelled.");
    if (answer.code != 0)
        return QStringLiteral("The desktop refused the screenshot.");
    return {};
}

} // namespace

ScreenshotPortal::ScreenshotPortal(const QDBusConnection &bus)
    : bus(bus)
{
}

uint ScreenshotPortal::version() const
{
    return PortalRequest::interfaceVersion(bus, Interface);
}

QImage ScreenshotPortal::take(QString *pError)
{
    if (taking) {
        *pError = QStringLiteral("A screenshot is already being taken.");
        return {};
    }
    if (!bus.isConnected()) {
        *pError = QStringLiteral("There is no session bus, so the desktop's screenshot portal "
                                 "(org.freedesktop.portal.Screenshot) cannot be reached.");
        return {};
    }
    taking = true;
    PortalRequest::Answer answer = ask(bus, false);
    if (answer.arrived && answer.code != 0)
        answer = ask(bus, true);
    taking = false;
    *pError = failure(answer);
    if (!pError->isEmpty())
        return {};
    return readPicture(answer.results.value(QStringLiteral("uri")).toString(), pError);
}

// The portal leaves the picture as a file (in the user's pictures folder on
// some desktops); it is ours alone, so it goes once read.
QImage ScreenshotPortal::readPicture(const QString &strUri, QString *pError)
{
    const QUrl url(strUri);
    if (!url.isLocalFile()) {
        qWarning().noquote() << "Screenshot portal answered:" << strUri;
        *pError = QStringLiteral("The screenshot portal returned no local file.");
        return {};
    }
    const QString path = url.toLocalFile();
    QImageReader reader(path);
    const QSize size = reader.size();
    QImage picture;
    if (size.isValid() && qint64(size.width()) * size.height() <= MaxPicturePixels) {
        const int previousLimit = QImageReader::allocationLimit();
        QImageReader::setAllocationLimit(MaxPictureMiB);
        picture = reader.read();
        QImageReader::setAllocationLimit(previousLimit);
    }
    QFile::remove(path);
    if (picture.isNull()) {
        qWarning().noquote() << "Screenshot portal's picture:" << path << reader.errorString();
        *pError = QStringLiteral("The screenshot portal's picture could not be read.");
    }
    return picture;
}
