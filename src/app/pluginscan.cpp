#include "pluginscan.h"

#include <QCoreApplication>
#include <QTimer>

QStringList &PluginScan::heldPaths()
{
    static QStringList paths;
    return paths;
}

void PluginScan::defer()
{
    heldPaths() = QCoreApplication::libraryPaths();
    // An empty list would bring back the defaults; the program's folder holds
    // no plugins.
    QCoreApplication::setLibraryPaths({ QCoreApplication::applicationDirPath() });
}

void PluginScan::resumeLater(QObject *context, std::function<void()> then)
{
    QTimer::singleShot(0, context, [then = std::move(then)] {
        QCoreApplication::setLibraryPaths(heldPaths());
        if (then)
            then();
    });
}
