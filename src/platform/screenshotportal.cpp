#include "screenshotportal.h"

#include "portalrequest.h"

#include <QDebug>
#include <QFile>
#include <QImageReader>
#include <QTimer>
#include <QUrl>

#include <utility>

namespace {

const QString Interface = QStringLiteral("org.freedesktop.portal.Screenshot");

// A desktop picture is the size of all screens together: generous, but bounded.
constexpr qint64 MaxPicturePixels = qint64(16384) * 8192;
constexpr int MaxPictureMiB = 512;

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

ScreenshotPortal::ScreenshotPortal(const QDBusConnection &bus, int iQuietDeadlineMs,
                                   QObject *pParent)
    : QObject(pParent)
    , bus(bus)
    , quietDeadlineMs(iQuietDeadlineMs)
{
}

ScreenshotPortal::~ScreenshotPortal()
{
    cancel();
}

uint ScreenshotPortal::version() const
{
    return PortalRequest::interfaceVersion(bus, Interface);
}

bool ScreenshotPortal::isTaking() const
{
    return request != nullptr;
}

void ScreenshotPortal::take()
{
    if (isTaking())
        return;
    if (!bus.isConnected()) {
        // Told from the event loop, as every other answer is.
        QTimer::singleShot(0, this, [this] {
            Q_EMIT signal_Taken({},
                                QStringLiteral("There is no session bus, so the desktop's "
                                               "screenshot portal "
                                               "(org.freedesktop.portal.Screenshot) cannot be "
                                               "reached."));
        });
        return;
    }
    ask(false);
}

// A request listens on the bus; it goes as soon as it is done, while the
// bus is sure to be there (the bus would wait for it forever at exit).
void ScreenshotPortal::cancel()
{
    delete std::exchange(request, nullptr);
}

void ScreenshotPortal::ask(bool bInteractive)
{
    request = new PortalRequest(bus, this);
    connect(request, &PortalRequest::signal_Answered, this,
            [this, bInteractive](const PortalRequest::Answer &answer) {
                std::exchange(request, nullptr)->deleteLater();
                answered(answer, bInteractive);
            });
    const QVariantMap options { { QStringLiteral("interactive"), bInteractive },
                                { QStringLiteral("modal"), bInteractive } };
    request->start(Interface, QStringLiteral("Screenshot"), { QString() }, options,
                   bInteractive ? InteractiveDeadlineMs : quietDeadlineMs);
    if (bInteractive)
        Q_EMIT signal_AskingUser();
}

void ScreenshotPortal::answered(const PortalRequest::Answer &answer, bool bInteractive)
{
    if (!bInteractive && answer.arrived && answer.code != 0)
        return ask(true);
    QString why = failure(answer);
    QImage picture;
    if (why.isEmpty())
        picture = readPicture(answer.results.value(QStringLiteral("uri")).toString(), &why);
    Q_EMIT signal_Taken(picture, why);
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
