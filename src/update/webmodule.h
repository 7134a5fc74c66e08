#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <QtPlugin>

#include <functional>
#include <memory>

// One download under way. Deleting it ends it quietly.
class WebTransfer
{
public:
    virtual ~WebTransfer() = default;

    // The bytes that arrived and were not read yet.
    virtual QByteArray readAll() = 0;
    // Ends the transfer; its end is still reported, later.
    virtual void abort() = 0;
    // The server's HTTP status, 0 before it answered.
    virtual int httpStatus() const = 0;
    // The length the server announced, 0 when it did not.
    virtual qint64 announcedLength() const = 0;
    // Where a redirect that was not followed pointed, or an empty address.
    virtual QUrl redirectTarget() const = 0;
    // A redirect was refused: to another origin, or one too many.
    virtual bool redirectRefused() const = 0;
    // The network's error code and text; 0 when there was none.
    virtual int errorCode() const = 0;
    virtual QString errorString() const = 0;
};

struct WebRequest
{
    QUrl url;
    // Otherwise no redirect is followed; redirectTarget() tells where it led.
    bool followSameOrigin = false;
    // A transfer that stalls this long fails instead of hanging.
    int stallTimeoutMs = 30000;
    // Bytes held before the reader reads them; 0 for no limit.
    qint64 readBufferBytes = 0;
};

// What a transfer reports, on the thread that started it; every call may
// come any number of times but `finished`, which comes once, never from
// inside a call to the transfer.
struct WebEvents
{
    std::function<void()> headers;
    std::function<void()> readyRead;
    std::function<void(qint64 received, qint64 total)> progress;
    std::function<void()> finished;
};

// The network support of the update check, a module of its own: no start
// pays for mapping the network library and the security libraries behind
// it; the update dialog loads it (see WebLoader).
class WebModule
{
public:
    virtual ~WebModule() = default;

    virtual std::unique_ptr<WebTransfer> get(const WebRequest &request, const WebEvents &events)
        = 0;
};

#define WebModule_iid "example.quillbury.tavelmark.WebModule/1"
Q_DECLARE_INTERFACE(WebModule, WebModule_iid)
