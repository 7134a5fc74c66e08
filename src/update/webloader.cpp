#include "webloader.h"

#include "app/moduleloader.h"
#include "webmodule.h"

#include <QDebug>

const char WebLoader::ModuleName[] = "tavelmark_net";

WebModule *WebLoader::module()
{
    QString why;
    QObject *root = ModuleLoader::load(QLatin1String(ModuleName), &why);
    auto *web = qobject_cast<WebModule *>(root);
    if (!web)
        qWarning().noquote() << "The network module could not be loaded:"
                             << (root ? QStringLiteral("it is not a network module") : why);
    return web;
}
