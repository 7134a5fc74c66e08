#pragma once

#include "webmodule.h"

#include <QObject>

class QNetworkReply;

// One reply of the network module, reported through WebEvents.
class NetworkTransfer : public QObject, public WebTransfer
{
    Q_OBJECT
public:
    NetworkTransfer(QNetworkReply *pReply, const WebEvents &events);
    ~NetworkTransfer() override;

    QByteArray readAll() override;
    void abort() override;
    int httpStatus() const override;
    qint64 announcedLength() const override;
    QUrl redirectTarget() const override;
    bool redirectRefused() const override;
    int errorCode() const override;
    QString errorString() const override;

private:
    QNetworkReply *reply;
    WebEvents events;
};
