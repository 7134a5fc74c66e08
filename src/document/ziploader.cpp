#include "ziploader.h"

#include "app/moduleloader.h"
#include "zipmodule.h"

#include <QDebug>

const char ZipLoader::ModuleName[] = "tavelmark_zip";
const char ZipLoader::Missing[]
    = "Tavelmark's ZIP support could not be loaded; reinstalling Tavelmark may repair it.";

ZipModule *ZipLoader::module()
{
    QString why;
    QObject *root = ModuleLoader::load(QLatin1String(ModuleName), &why);
    auto *zip = qobject_cast<ZipModule *>(root);
    if (!zip)
        qWarning().noquote() << "The ZIP module could not be loaded:"
                             << (root ? QStringLiteral("it is not a ZIP module") : why);
    return zip;
}
