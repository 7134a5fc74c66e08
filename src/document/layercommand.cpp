#include "layercommand.h"

#include "pagehost.h"

void LayerCommand::finish(const QRect &dirty)
{
    // An empty rectangle has nothing to re-render; passed on, it would read
    // as invalid and rebuild the whole layer.
    if (done && !dirty.isEmpty()) {
        host->updateForHistoryStep(page, dirty, this);
        host->repaint(dirty);
    }
    done = true;
}
