#include "globalshortcutsportal.h"

#include "platform/hotkeyrecord.h"
#include "portalrequest.h"
#include "virtualkeys.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDebug>

// One entry of BindShortcuts' a(sa{sv}).
struct PortalShortcut
{
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(PortalShortcut)

namespace {

const QString Interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString IdPrefix = QStringLiteral("hotkey");

} // namespace

QDBusArgument &operator<<(QDBusArgument &argument, const PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, PortalShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

GlobalShortcutsPortal::GlobalShortcutsPortal(const QDBusConnection &bus, QObject *pParent)
    : QObject(pParent)
    , bus(bus)
{
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
    this->bus.connect(PortalRequest::Service, PortalRequest::ObjectPath, Interface,
                      QStringLiteral("Activated"), this, SLOT(slot_Activated(QDBusMessage)));
}

GlobalShortcutsPortal::~GlobalShortcutsPortal()
{
    closeSession();
}

bool GlobalShortcutsPortal::isOffered()
{
    if (offered < 0)
        offered = bus.isConnected() && PortalRequest::interfaceVersion(bus, Interface) > 0;
    return offered > 0;
}

bool GlobalShortcutsPortal::bind(const QMap<int, QString> &triggers)
{
    closeSession();
    if (triggers.isEmpty() || !isOffered() || !openSession())
        return false;
    QList<PortalShortcut> shortcuts;
    for (auto it = triggers.begin(); it != triggers.end(); ++it) {
        PortalShortcut shortcut { IdPrefix + QString::number(it.key()),
                                  { { QStringLiteral("description"),
                                      QStringLiteral("Tavelmark %1").arg(it.key()) } } };
        if (!it.value().isEmpty())
            shortcut.properties.insert(QStringLiteral("preferred_trigger"), it.value());
        shortcuts.append(shortcut);
    }
    PortalRequest request(bus);
    const PortalRequest::Answer answer
        = request.run(Interface, QStringLiteral("BindShortcuts"),
                      { QVariant::fromValue(QDBusObjectPath(session)),
                        QVariant::fromValue(shortcuts), QString() },
                      {}, DeadlineMs);
    if (answer.code != 0)
        qWarning().noquote() << "Global shortcuts refused:" << answer.callError << answer.code;
    return answer.code == 0;
}

bool GlobalShortcutsPortal::openSession()
{
    PortalRequest request(bus);
    const PortalRequest::Answer answer = request.run(
        Interface, QStringLiteral("CreateSession"), {},
        { { QStringLiteral("session_handle_token"), PortalRequest::nextToken() } }, DeadlineMs);
    session = answer.code == 0 ? answer.results.value(QStringLiteral("session_handle")).toString()
                               : QString();
    if (session.isEmpty())
        qWarning().noquote() << "No global shortcuts session:" << answer.callError << answer.code;
    return !session.isEmpty();
}

void GlobalShortcutsPortal::closeSession()
{
    if (session.isEmpty())
        return;
    bus.send(QDBusMessage::createMethodCall(PortalRequest::Service, session,
                                            QStringLiteral("org.freedesktop.portal.Session"),
                                            QStringLiteral("Close")));
    session.clear();
}

// Activated(o session_handle, s shortcut_id, t timestamp, a{sv} options)
void GlobalShortcutsPortal::slot_Activated(const QDBusMessage &message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2)
        return;
    const QDBusObjectPath sessionPath = arguments.at(0).value<QDBusObjectPath>();
    const QString strId = arguments.at(1).toString();
    bool ok = false;
    const int id = strId.startsWith(IdPrefix) ? strId.mid(IdPrefix.size()).toInt(&ok) : 0;
    if (ok && !session.isEmpty() && sessionPath.path() == session)
        Q_EMIT signal_Activated(id);
}

QString GlobalShortcutsPortal::trigger(const HotKeyRecord &record)
{
    const uint32_t sym = VirtualKeys::toKeySym(record.virtualKey);
    QString key;
    if (sym >= 0x21 && sym <= 0x7e)
        key = QChar(char(sym)).toLower();
    else if (sym >= 0xffbe && sym <= 0xffd5) // F1 … F24
        key = QStringLiteral("F%1").arg(sym - 0xffbe + 1);
    if (key.isEmpty())
        return {};
    QStringList parts;
    if (record.ctrl)
        parts << QStringLiteral("CTRL");
    if (record.alt)
        parts << QStringLiteral("ALT");
    if (record.shift)
        parts << QStringLiteral("SHIFT");
    if (record.win)
        parts << QStringLiteral("LOGO");
    return (parts << key).join(QLatin1Char('+'));
}
