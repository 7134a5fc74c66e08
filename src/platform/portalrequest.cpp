#include "portalrequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEventLoop>
#include <QTimer>

namespace {
const QString RequestInterface = QStringLiteral("org.freedesktop.portal.Request");
// The call itself (not the answer) must come back quickly.
constexpr int CallTimeoutMs = 10000;
} // namespace

const QString PortalRequest::Service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString PortalRequest::ObjectPath = QStringLiteral("/org/freedesktop/portal/desktop");

PortalRequest::PortalRequest(const QDBusConnection &bus, QObject *pParent)
    : QObject(pParent)
    , bus(bus)
{
}

uint PortalRequest::interfaceVersion(const QDBusConnection &bus, const QString &strInterface)
{
    QDBusMessage call = QDBusMessage::createMethodCall(
        Service, ObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    call << strInterface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(call, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return 0;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt();
}

QString PortalRequest::nextToken()
{
    static int counter = 0;
    return QStringLiteral("tavelmark%1").arg(++counter);
}

PortalRequest::Answer PortalRequest::run(const QString &strInterface, const QString &strMethod,
                                         const QVariantList &arguments, QVariantMap options,
                                         int iDeadlineMs)
{
    const QString token = nextToken();
    answer = Answer();
    // Subscribed before the call: a fast portal may answer before the call returns.
    listen(predictedHandle(token));
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage call
        = QDBusMessage::createMethodCall(Service, ObjectPath, strInterface, strMethod);
    call.setArguments(arguments + QVariantList { options });
    QEventLoop loop;
    waiting = &loop;
    QDBusPendingCallWatcher watcher(bus.asyncCall(call, CallTimeoutMs));
    connect(&watcher, &QDBusPendingCallWatcher::finished, this,
            [this, &loop](QDBusPendingCallWatcher *w) {
                const QDBusPendingReply<QDBusObjectPath> reply = *w;
                if (reply.isError()) {
                    answer.callError = reply.error().message();
                    loop.quit();
                } else if (reply.value().path() != listenedPath && !answer.arrived) {
                    listen(reply.value().path());
                }
            });
    QTimer::singleShot(iDeadlineMs, &loop, [this, &loop] {
        answer.timedOut = true;
        loop.quit();
    });
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    waiting = nullptr;
    stopListening();
    return answer;
}

void PortalRequest::slot_Response(uint iCode, const QVariantMap &results)
{
    answer.arrived = true;
    answer.code = iCode;
    answer.results = results;
    if (waiting)
        waiting->quit();
}

void PortalRequest::listen(const QString &strPath)
{
    stopListening();
    listenedPath = strPath;
    bus.connect(Service, strPath, RequestInterface, QStringLiteral("Response"), this,
                SLOT(slot_Response(uint, QVariantMap)));
}

void PortalRequest::stopListening()
{
    if (listenedPath.isEmpty())
        return;
    bus.disconnect(Service, listenedPath, RequestInterface, QStringLiteral("Response"), this,
                   SLOT(slot_Response(uint, QVariantMap)));
    listenedPath.clear();
}

// The portal names its Request object after our unique bus name and the token.
QString PortalRequest::predictedHandle(const QString &strToken) const
{
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("%1/request/%2/%3").arg(ObjectPath, sender, strToken);
}
