#pragma once

#include "benchpage.h"
#include "canvas/mainview.h"
#include "document/document.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QList>

#include <vector>

// Waits until the pages the canvas decodes ahead have arrived.
inline void waitForDecodes(MainView *view)
{
    while (view->isDecodingAhead())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

// Median time of switches to the given pages, one after another, each shown
// and with the pictures it decodes ahead left to arrive before the next.
inline double switchesMs(MainView *view, const QList<int> &indexes)
{
    std::vector<double> times;
    for (int index : indexes) {
        waitForDecodes(view);
        QElapsedTimer timer;
        timer.start();
        view->document().gotoPage(index);
        QCoreApplication::processEvents();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    waitForDecodes(view);
    return median(times);
}
