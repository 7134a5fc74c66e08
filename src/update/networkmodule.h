#pragma once

#include "webmodule.h"

#include <QObject>

class QNetworkAccessManager;

// The network module's entry point, found by the plugin loader.
class NetworkModule : public QObject, public WebModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID WebModule_iid)
    Q_INTERFACES(WebModule)
public:
    std::unique_ptr<WebTransfer> get(const WebRequest &request, const WebEvents &events) override;

private:
    QNetworkAccessManager *manager = nullptr;
};
