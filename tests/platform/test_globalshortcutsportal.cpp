#include "platform/globalshortcutsportal.h"
#include "platform/hotkeyrecord.h"
#include "platform/nullplatform.h"
#include "platform/screenshotportal.h"
#include "platform/waylandplatform.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMutex>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QThread>
#include <QTimer>
#include <QtTest>

struct FakeShortcut
{
    QString id;
    QVariantMap properties;
};
Q_DECLARE_METATYPE(FakeShortcut)

QDBusArgument &operator<<(QDBusArgument &argument, const FakeShortcut &shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument &operator>>(const QDBusArgument &argument, FakeShortcut &shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

// The desktop's global shortcuts portal, on a connection and a thread of its
// own on the test's private bus: it accepts every binding and fires on request.
class FakeShortcutsPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    explicit FakeShortcutsPortal(const QDBusConnection &bus)
        : bus(bus)
    {
    }
    uint version() const { return 1; }

    QStringList sessionsSoFar() const
    {
        QMutexLocker lock(&mutex);
        return sessions;
    }
    QList<QList<FakeShortcut>> bindingsSoFar() const
    {
        QMutexLocker lock(&mutex);
        return bindings;
    }

    void fire(const QString &strSession, const QString &strId)
    {
        QDBusMessage signal = QDBusMessage::createSignal(
            QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(strSession)) << strId << qulonglong(1)
               << QVariantMap();
        bus.send(signal);
    }

public Q_SLOTS:
    QDBusObjectPath CreateSession(const QVariantMap &options, const QDBusMessage &message)
    {
        const QString session
            = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                  .arg(senderName(message),
                       options.value(QStringLiteral("session_handle_token")).toString());
        {
            QMutexLocker lock(&mutex);
            sessions.append(session);
        }
        return answer(message, options, { { QStringLiteral("session_handle"), session } });
    }

    QDBusObjectPath BindShortcuts(const QDBusObjectPath &, const QList<FakeShortcut> &shortcuts,
                                  const QString &, const QVariantMap &options,
                                  const QDBusMessage &message)
    {
        {
            QMutexLocker lock(&mutex);
            bindings.append(shortcuts);
        }
        return answer(message, options, {});
    }

private:
    static QString senderName(const QDBusMessage &message)
    {
        return message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
    }

    QDBusObjectPath answer(const QDBusMessage &message, const QVariantMap &options,
                           const QVariantMap &results)
    {
        const QString handle = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                   .arg(senderName(message),
                                        options.value(QStringLiteral("handle_token")).toString());
        QTimer::singleShot(0, this, [this, handle, results] {
            QDBusMessage response = QDBusMessage::createSignal(
                handle, QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"));
            response << uint(0) << results;
            bus.send(response);
        });
        return QDBusObjectPath(handle);
    }

    QDBusConnection bus;
    mutable QMutex mutex;
    QStringList sessions;
    QList<QList<FakeShortcut>> bindings;
};

class TestGlobalShortcutsPortal : public QObject
{
    Q_OBJECT

    static HotKeyRecord record(bool ctrl, bool shift, bool alt, bool win, int key)
    {
        return HotKeyRecord { true, ctrl, shift, alt, win, key };
    }

    static std::unique_ptr<WaylandPlatform> platform()
    {
        const QDBusConnection bus = QDBusConnection::sessionBus();
        return std::make_unique<WaylandPlatform>(std::make_unique<NullPlatform>(),
                                                 std::make_unique<ScreenshotPortal>(bus),
                                                 std::make_unique<GlobalShortcutsPortal>(bus));
    }

private Q_SLOTS:
    void initTestCase()
    {
        qDBusRegisterMetaType<FakeShortcut>();
        qDBusRegisterMetaType<QList<FakeShortcut>>();
        QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
    }

    void triggersInThePortalsNotation()
    {
        QCOMPARE(GlobalShortcutsPortal::trigger(record(true, true, false, false, 0x41)),
                 QStringLiteral("CTRL+SHIFT+a"));
        QCOMPARE(GlobalShortcutsPortal::trigger(record(false, false, true, true, 0x31)),
                 QStringLiteral("ALT+LOGO+1"));
        QCOMPARE(GlobalShortcutsPortal::trigger(record(false, false, false, false, 0x78)),
                 QStringLiteral("F9"));
        QCOMPARE(GlobalShortcutsPortal::trigger(record(true, false, false, false, 0)), QString());
    }

    void hotkeysAreBoundTogetherAndFire()
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                            QStringLiteral("fake-portal"));
        FakeShortcutsPortal fake(bus);
        QThread portalThread;
        fake.moveToThread(&portalThread);
        portalThread.start();
        const auto stop = qScopeGuard([&portalThread] {
            portalThread.quit();
            portalThread.wait();
        });
        QVERIFY(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
        QVERIFY(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &fake,
                                   QDBusConnection::ExportAllSlots
                                       | QDBusConnection::ExportAllProperties));
        auto wayland = platform();
        QVERIFY(wayland->hotKeyAdvice().isEmpty());
        QVERIFY(wayland->registerHotKey(1, record(true, false, true, false, 0x4e)));
        QVERIFY(wayland->registerHotKey(2, record(false, false, false, false, 0x78)));
        QTRY_COMPARE(fake.bindingsSoFar().size(), 1);
        const QList<FakeShortcut> bound = fake.bindingsSoFar().at(0);
        QCOMPARE(bound.size(), 2);
        QCOMPARE(bound.at(0).id, QStringLiteral("hotkey1"));
        QCOMPARE(bound.at(0).properties.value(QStringLiteral("preferred_trigger")).toString(),
                 QStringLiteral("CTRL+ALT+n"));
        QCOMPARE(bound.at(1).properties.value(QStringLiteral("preferred_trigger")).toString(),
                 QStringLiteral("F9"));

        QSignalSpy pressed(&wayland->hotKeyEvents(), &HotKeyEvents::signal_HotKey);
        fake.fire(QStringLiteral("/org/freedesktop/portal/desktop/session/other/x"),
                  QStringLiteral("hotkey1"));
        fake.fire(fake.sessionsSoFar().last(), QStringLiteral("hotkey2"));
        QVERIFY(pressed.wait(5000));
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).toInt(), 2);

        // A hotkey given up is bound away in a session of its own.
        wayland->unregisterHotKey(1);
        QTRY_COMPARE(fake.bindingsSoFar().size(), 2);
        QCOMPARE(fake.bindingsSoFar().at(1).size(), 1);
        QCOMPARE(fake.bindingsSoFar().at(1).at(0).id, QStringLiteral("hotkey2"));
        QCOMPARE(fake.sessionsSoFar().size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestGlobalShortcutsPortal)
#include "test_globalshortcutsportal.moc"
