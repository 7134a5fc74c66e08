#include "networkmodule.h"

#include "networktransfer.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>

std::unique_ptr<WebTransfer> NetworkModule::get(const WebRequest &request, const WebEvents &events)
{
    // Made on first use, on the thread that uses it.
    if (!manager)
        manager = new QNetworkAccessManager(this);
    QNetworkRequest wanted(request.url);
    wanted.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                        request.followSameOrigin ? QNetworkRequest::SameOriginRedirectPolicy
                                                 : QNetworkRequest::ManualRedirectPolicy);
    wanted.setTransferTimeout(request.stallTimeoutMs);
    QNetworkReply *reply = manager->get(wanted);
    reply->setReadBufferSize(request.readBufferBytes);
    return std::make_unique<NetworkTransfer>(reply, events);
}
