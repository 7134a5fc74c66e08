#include "networktransfer.h"

#include <QNetworkReply>

NetworkTransfer::NetworkTransfer(QNetworkReply *pReply, const WebEvents &webEvents)
    : reply(pReply)
    , events(webEvents)
{
    if (events.headers)
        connect(reply, &QNetworkReply::metaDataChanged, this, events.headers);
    if (events.readyRead)
        connect(reply, &QIODevice::readyRead, this, events.readyRead);
    if (events.progress)
        connect(reply, &QNetworkReply::downloadProgress, this, events.progress);
    // Queued: abort() reports the end at once, and whoever is told may delete
    // this transfer.
    if (events.finished)
        connect(reply, &QNetworkReply::finished, this, events.finished, Qt::QueuedConnection);
}

NetworkTransfer::~NetworkTransfer()
{
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
}

QByteArray NetworkTransfer::readAll()
{
    return reply->readAll();
}

void NetworkTransfer::abort()
{
    reply->abort();
}

int NetworkTransfer::httpStatus() const
{
    return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
}

qint64 NetworkTransfer::announcedLength() const
{
    return reply->header(QNetworkRequest::ContentLengthHeader).toLongLong();
}

QUrl NetworkTransfer::redirectTarget() const
{
    return reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
}

bool NetworkTransfer::redirectRefused() const
{
    return reply->error() == QNetworkReply::InsecureRedirectError
        || reply->error() == QNetworkReply::TooManyRedirectsError;
}

int NetworkTransfer::errorCode() const
{
    return int(reply->error());
}

QString NetworkTransfer::errorString() const
{
    return reply->errorString();
}
