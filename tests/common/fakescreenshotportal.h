#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QImage>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <utility>

// A request object of the fake portal: it notes the Close a client sends
// when it gives up.
class FakePortalRequest : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Request")
public:
    FakePortalRequest(QObject *pParent, std::function<void()> closed)
        : QObject(pParent)
        , closed(std::move(closed))
    {
    }

public Q_SLOTS:
    void Close() { closed(); }

private:
    std::function<void()> closed;
};

// Stands in for the desktop portal on a test's private session bus, on a
// connection and a thread of its own, as another program would. Silent, it
// never answers, like a portal whose backend hangs; Held, it answers (with a
// picture) only when released.
class FakeScreenshotPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
    Q_PROPERTY(uint version READ version)
public:
    enum class Mode { Deliver, RefuseQuiet, Cancel, Silent, Held };

    // Serves on its own connection and thread until destroyed.
    FakeScreenshotPortal()
        : bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                            QStringLiteral("fake-portal")))
    {
        moveToThread(&thread);
        thread.start();
    }
    ~FakeScreenshotPortal() override
    {
        bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
        bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        thread.quit();
        thread.wait();
        QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    }

    // Takes the portal's name on the bus; false when another holds it.
    bool serve()
    {
        return bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop"))
            && bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                                  QDBusConnection::ExportAllSlots
                                      | QDBusConnection::ExportAllProperties);
    }

    uint version() const { return 2; }

    void setMode(Mode m)
    {
        QMutexLocker lock(&mutex);
        mode = m;
    }
    void setPicture(const QImage &image, const QString &strFolder)
    {
        QMutexLocker lock(&mutex);
        picture = image;
        folder = strFolder;
    }
    QList<QVariantMap> calls() const
    {
        QMutexLocker lock(&mutex);
        return asked;
    }
    void clearCalls()
    {
        QMutexLocker lock(&mutex);
        asked.clear();
    }
    int closes() const
    {
        QMutexLocker lock(&mutex);
        return closed;
    }
    QString lastFile() const
    {
        QMutexLocker lock(&mutex);
        return written;
    }
    // Answers the held requests, and from now on every request at once.
    void release()
    {
        QMetaObject::invokeMethod(this, [this] {
            QStringList handles;
            {
                QMutexLocker lock(&mutex);
                mode = Mode::Deliver;
                handles = std::exchange(held, {});
            }
            for (const QString &handle : handles)
                respond(handle, false);
        });
    }

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString &, const QVariantMap &options,
                               const QDBusMessage &message)
    {
        QMutexLocker lock(&mutex);
        asked.append(options);
        QString sender = message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString token = options.value(QStringLiteral("handle_token")).toString();
        const QString handle
            = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
        bus.registerObject(handle,
                           new FakePortalRequest(this,
                                                 [this] {
                                                     QMutexLocker closing(&mutex);
                                                     ++closed;
                                                 }),
                           QDBusConnection::ExportAllSlots);
        const bool interactive = options.value(QStringLiteral("interactive")).toBool();
        if (mode == Mode::Held)
            held.append(handle);
        // The answer follows the call's reply, as a real portal's does.
        if (mode != Mode::Silent && mode != Mode::Held)
            QTimer::singleShot(0, this,
                               [this, handle, interactive] { respond(handle, interactive); });
        return QDBusObjectPath(handle);
    }

private:
    void respond(const QString &strHandle, bool bInteractive)
    {
        QMutexLocker lock(&mutex);
        uint code = 0;
        QVariantMap results;
        if (mode == Mode::Cancel || (mode == Mode::RefuseQuiet && !bInteractive)) {
            code = mode == Mode::Cancel ? 1 : 2;
        } else {
            written = folder + QStringLiteral("/Screenshot %1.png").arg(asked.size());
            picture.save(written);
            results.insert(QStringLiteral("uri"), QUrl::fromLocalFile(written).toString());
        }
        QDBusMessage signal = QDBusMessage::createSignal(
            strHandle, QStringLiteral("org.freedesktop.portal.Request"),
            QStringLiteral("Response"));
        signal << code << results;
        bus.send(signal);
    }

    QDBusConnection bus;
    QThread thread;
    mutable QMutex mutex;
    Mode mode = Mode::Deliver;
    QImage picture;
    QString folder;
    QList<QVariantMap> asked;
    QString written;
    QStringList held;
    int closed = 0;
};
