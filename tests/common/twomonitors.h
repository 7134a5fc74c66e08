#pragma once

#include <cstdlib>

// Splits the test's 2560 x 800 X screen into two RandR monitors side by side,
// L (primary output) and R, before the application connects, so that Qt
// starts with both screens.
inline bool setUpTwoMonitors()
{
    return std::system("xrandr --setmonitor L 1280/340x800/210+0+0 default") == 0
        && std::system("xrandr --setmonitor R 1280/340x800/210+1280+0 none") == 0;
}
