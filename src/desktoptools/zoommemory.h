#pragma once

// How the magnifier was left: its enlargement and whether it filled the
// screen. Kept for the run by whoever opens the magnifier, so that it opens
// again as it was left; never saved.
struct ZoomMemory
{
    double factor = 2.0;
    bool fullScreen = false;
};
