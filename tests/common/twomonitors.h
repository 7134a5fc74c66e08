#pragma once

#include <cstdlib>

// Splits the test's 3840 x 1600 X screen into two RandR monitors side by
// side, before the application connects, so that Qt starts with both: L, a
// 2560 x 1600 laptop screen holding the output, and R, a 1280 x 800 projector.
// Xvfb names its one output "default" or "screen", by version.
inline bool setUpTwoMonitors()
{
    return std::system("xrandr --setmonitor L 2560/677x1600/423+0+0 "
                       "$(xrandr | awk '/ connected/ { print $1; exit }')")
        == 0
        && std::system("xrandr --setmonitor R 1280/340x800/210+2560+0 none") == 0;
}
