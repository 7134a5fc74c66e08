#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QVariantMap>

class QEventLoop;

// One call to a desktop portal. The portal answers a call with the path of a
// Request object and sends the result later as that object's Response
// signal; run() waits for it in a local event loop that takes no user input,
// with a deadline, so that callers get the result as from a plain call.
class PortalRequest : public QObject
{
    Q_OBJECT
public:
    static const QString Service;
    static const QString ObjectPath;

    struct Answer
    {
        bool arrived = false;
        // 0 success, 1 cancelled by the user, 2 refused or failed.
        uint code = 2;
        QVariantMap results;
        // The call itself failed (no such portal, say), or no answer came.
        QString callError;
        bool timedOut = false;
    };

    explicit PortalRequest(const QDBusConnection &bus, QObject *pParent = nullptr);

    // Calls strMethod of strInterface with arguments followed by options (a
    // handle token is added to them) and waits for the Response.
    Answer run(const QString &strInterface, const QString &strMethod, const QVariantList &arguments,
               QVariantMap options, int iDeadlineMs);
    bool isRunning() const { return waiting != nullptr; }
    // A version property of a portal interface; 0 when no portal offers it.
    static uint interfaceVersion(const QDBusConnection &bus, const QString &strInterface);
    // A token unique to this process, for handle and session names.
    static QString nextToken();

private Q_SLOTS:
    void slot_Response(uint iCode, const QVariantMap &results);

private:
    void listen(const QString &strPath);
    void stopListening();
    QString predictedHandle(const QString &strToken) const;

    QDBusConnection bus;
    QString listenedPath;
    QEventLoop *waiting = nullptr;
    Answer answer;
};
