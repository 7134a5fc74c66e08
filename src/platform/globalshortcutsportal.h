#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QMap>
#include <QObject>
#include <QVariantMap>

struct HotKeyRecord;

// Client of the desktop portal's GlobalShortcuts interface: shortcuts that
// reach the program whatever has the focus, on desktops that offer them. The
// desktop has the last word on the keys (it may ask the user), so the
// program's combinations are only its preferred triggers.
class GlobalShortcutsPortal : public QObject
{
    Q_OBJECT
public:
    explicit GlobalShortcutsPortal(const QDBusConnection &bus, QObject *pParent = nullptr);
    ~GlobalShortcutsPortal() override;

    // Binding may show the desktop's own dialog.
    static constexpr int DeadlineMs = 120000;

    // Whether the desktop offers the interface; asked once.
    bool isOffered();
    // Puts these shortcuts (identifier → preferred trigger, empty for none)
    // in place of those bound before. False when the desktop refused.
    bool bind(const QMap<int, QString> &triggers);
    // A combination in the portal's trigger notation ("CTRL+SHIFT+a"), or
    // empty when the key has no name there.
    static QString trigger(const HotKeyRecord &record);

Q_SIGNALS:
    void signal_Activated(int iId);

private Q_SLOTS:
    void slot_Activated(const QDBusMessage &message);

private:
    bool openSession();
    void closeSession();

    QDBusConnection bus;
    QString session;
    int offered = -1;
};
