#include "portalrequest.h"

#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QEventLoop>

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
    deadline.setSingleShot(true);
    connect(&deadline, &QTimer::timeout, this, [this] {
        answer.timedOut = true;
        close();
        Q_EMIT signal_Answered(answer);
    });
}

PortalRequest::~PortalRequest()
{
    close();
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

void PortalRequest::start(const QString &strInterface, const QString &strMethod,
                          const QVariantList &arguments, QVariantMap options, int iDeadlineMs)
{
    close();
    const QString token = nextToken();
    answer = Answer();
    running = true;
    // Subscribed before the call: a fast portal may answer before the call returns.
    listen(predictedHandle(token));
    options.insert(QStringLiteral("handle_token"), token);
    QDBusMessage message
        = QDBusMessage::createMethodCall(Service, ObjectPath, strInterface, strMethod);
    message.setArguments(arguments + QVariantList { options });
    call = std::make_unique<QDBusPendingCallWatcher>(bus.asyncCall(message, CallTimeoutMs));
    connect(call.get(), &QDBusPendingCallWatcher::finished, this, &PortalRequest::callReturned);
    deadline.start(iDeadlineMs);
}

void PortalRequest::callReturned(QDBusPendingCallWatcher *pWatcher)
{
    // A withdrawn call's watcher may still report before it goes.
    if (pWatcher != call.get())
        return;
    const QDBusPendingReply<QDBusObjectPath> reply = *pWatcher;
    if (reply.isError()) {
        answer.callError = reply.error().message();
        finish();
    } else if (reply.value().path() != listenedPath) {
        listen(reply.value().path());
    }
}

PortalRequest::Answer PortalRequest::run(const QString &strInterface, const QString &strMethod,
                                         const QVariantList &arguments, QVariantMap options,
                                         int iDeadlineMs)
{
    QEventLoop loop;
    connect(this, &PortalRequest::signal_Answered, &loop, &QEventLoop::quit);
    start(strInterface, strMethod, arguments, std::move(options), iDeadlineMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return answer;
}

void PortalRequest::close()
{
    if (!running)
        return;
    // A portal that still works on the request (a dialog, say) gives up on it.
    if (!listenedPath.isEmpty())
        bus.send(QDBusMessage::createMethodCall(Service, listenedPath, RequestInterface,
                                                QStringLiteral("Close")));
    stop();
}

void PortalRequest::slot_Response(uint iCode, const QVariantMap &results)
{
    answer.arrived = true;
    answer.code = iCode;
    answer.results = results;
    finish();
}

void PortalRequest::finish()
{
    stop();
    Q_EMIT signal_Answered(answer);
}

void PortalRequest::stop()
{
    running = false;
    deadline.stop();
    stopListening();
    // Deleted later: this may run inside the watcher's own signal.
    if (call)
        call.release()->deleteLater();
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
