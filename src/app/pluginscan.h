#pragma once

#include <QStringList>

#include <functional>

class QObject;

// The first picture decoded makes Qt load every image-format plugin, and the
// libraries behind them, to ask each what it reads: about 20 ms and several
// megabytes, although the program's own pictures are PNG, which is built in.
// Start-up therefore hides the plugin folders until the toolbar is up; opened
// JPG, SVG and other files find them afterwards.
class PluginScan
{
public:
    // Call once the application object exists.
    static void defer();
    // Gives the plugin folders back at the next turn of the event loop, then
    // runs `then` (unless `context` is gone): whatever reads pictures at
    // start-up belongs there.
    static void resumeLater(QObject *context, std::function<void()> then = {});

private:
    static QStringList &heldPaths();
};
