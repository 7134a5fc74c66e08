#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QTimer>
#include <QVariantMap>

#include <memory>

class QDBusPendingCallWatcher;

// One call to a desktop portal. The portal answers a call with the path of a
// Request object and sends the result later as that object's Response
// signal. start() returns at once and signal_Answered brings the result, or
// the call's failure, or the passing of a deadline; close() withdraws the
// request instead. run() waits for the answer in a local event loop that
// takes no user input, for callers that cannot go on later.
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
    ~PortalRequest() override;

    // Calls strMethod of strInterface with arguments followed by options (a
    // handle token is added to them); the answer comes once, as signal_Answered.
    void start(const QString &strInterface, const QString &strMethod, const QVariantList &arguments,
               QVariantMap options, int iDeadlineMs);
    // Withdraws a started request: the portal is told, no answer comes.
    void close();
    Answer run(const QString &strInterface, const QString &strMethod, const QVariantList &arguments,
               QVariantMap options, int iDeadlineMs);
    // A version property of a portal interface; 0 when no portal offers it.
    static uint interfaceVersion(const QDBusConnection &bus, const QString &strInterface);
    // A token unique to this process, for handle and session names.
    static QString nextToken();

Q_SIGNALS:
    void signal_Answered(const PortalRequest::Answer &answer);

private Q_SLOTS:
    void slot_Response(uint iCode, const QVariantMap &results);

private:
    void callReturned(QDBusPendingCallWatcher *pWatcher);
    void finish();
    void stop();
    void listen(const QString &strPath);
    void stopListening();
    QString predictedHandle(const QString &strToken) const;

    QDBusConnection bus;
    QString listenedPath;
    std::unique_ptr<QDBusPendingCallWatcher> call;
    QTimer deadline;
    bool running = false;
    Answer answer;
};
