#include "platform.h"

#include "nullplatform.h"
#include "screengrab.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QWidget>

#include <memory>

#if defined(Q_OS_WIN)
#include "winplatform.h"
#elif defined(Q_OS_UNIX)
#include "globalshortcutsportal.h"
#include "screenshotportal.h"
#include "waylandplatform.h"
#include "waylandsession.h"
#include "x11platform.h"

#include <QDBusConnection>
#endif

namespace {

std::unique_ptr<Platform> &storage()
{
    static std::unique_ptr<Platform> backend;
    return backend;
}

std::unique_ptr<Platform> windowBackend()
{
#if defined(Q_OS_WIN)
    return std::make_unique<WinPlatform>();
#elif defined(Q_OS_UNIX)
    // The interface answers on other platforms too, without a connection.
    if (qGuiApp && QGuiApplication::platformName() == QLatin1String("xcb")) {
        auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11 && x11->connection())
            return std::make_unique<X11Platform>(x11->connection());
    }
#endif
    return std::make_unique<NullPlatform>();
}

std::unique_ptr<Platform> chooseBackend()
{
    const QString forced = qEnvironmentVariable("TAV_PLATFORM");
    if (forced == QLatin1String("null"))
        return std::make_unique<NullPlatform>();
#if defined(Q_OS_UNIX) && !defined(Q_OS_WIN)
    if (forced == QLatin1String("wayland") || (forced.isEmpty() && WaylandSession::detected()))
        return std::make_unique<WaylandPlatform>(
            windowBackend(), std::make_unique<ScreenshotPortal>(QDBusConnection::sessionBus()),
            std::make_unique<GlobalShortcutsPortal>(QDBusConnection::sessionBus()));
#endif
    return windowBackend();
}

} // namespace

Platform &Platform::instance()
{
    auto &backend = storage();
    if (!backend)
        backend = chooseBackend();
    return *backend;
}

void Platform::reset()
{
    storage().reset();
}

void Platform::replace(std::unique_ptr<Platform> backend)
{
    storage() = std::move(backend);
}

void Platform::activate(QWidget *pWidget)
{
    pWidget->activateWindow();
}

QList<WId> Platform::topLevelWindows(const QList<WId> &)
{
    return {};
}

QString Platform::windowTitle(WId)
{
    return {};
}

QPixmap Platform::grabScreen(QScreen *screen)
{
    return screen ? screen->grabWindow(0) : QPixmap();
}

std::unique_ptr<ScreenGrab> Platform::prepareGrab(QScreen *screen)
{
    return std::make_unique<ScreenGrab>(
        [this, target = QPointer<QScreen>(screen)] { return grabScreen(target); });
}

QString Platform::installationPath()
{
    return installationSetting(QStringLiteral("Path"));
}

QString Platform::installationSetting(const QString &strKey)
{
    const QString product = QStringLiteral("%1 %2").arg(QCoreApplication::organizationName(),
                                                        QCoreApplication::applicationName());
#if defined(Q_OS_WIN)
    QSettings settings(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\") + product,
                       QSettings::NativeFormat);
#else
    // The machine-wide configuration file, e.g. /etc/xdg/Quillbury/Tavelmark.conf.
    Q_UNUSED(product)
    QSettings settings(QSettings::NativeFormat, QSettings::SystemScope,
                       QCoreApplication::organizationName(), QCoreApplication::applicationName());
#endif
    return settings.value(strKey).toString();
}

QString Platform::noCompositionAdvice() const
{
    return QStringLiteral("No compositing manager is running. Turn on your desktop's compositing "
                          "(desktop effects), or start a compositor such as picom or xcompmgr, "
                          "then try again.");
}
