#include "layercommand.h"

#include "pagehost.h"

void LayerCommand::finish(const QRect &dirty)
{
    // An empty rectangle has nothing to re-render; passed on, it would read
    // as invalid and rebuild the whole layer.
    if (m_done && !dirty.isEmpty()) {
        m_host->updateObjectCache(m_page, dirty);
        m_host->repaint(dirty);
    }
    m_done = true;
}
