#include "presenterkit.h"

#include "app/appstate.h"
#include "document/obj.h"
#include "toolhost.h"

#include <memory>

namespace {
std::unique_ptr<PresenterKit> &storage()
{
    static std::unique_ptr<PresenterKit> kit;
    return kit;
}
} // namespace

PresenterKit::PresenterKit()
{
    clock.addLayer(&trail);
    clock.addLayer(&fading);
    clock.addLayer(&circle);
}

PresenterKit &PresenterKit::instance()
{
    auto &kit = storage();
    if (!kit)
        kit.reset(new PresenterKit);
    return *kit;
}

void PresenterKit::reset()
{
    storage().reset(new PresenterKit);
}

bool PresenterKit::fadingInk() const
{
    return AppState::instance().presenter.fadingInk;
}

void PresenterKit::setFadingInk(bool bOn)
{
    bool &stored = AppState::instance().presenter.fadingInk;
    if (stored == bOn)
        return;
    stored = bOn;
    Q_EMIT fadingInkChanged(bOn);
}

void PresenterKit::takeStroke(ToolHost *host, Obj *obj)
{
    const qint64 life = qint64(AppState::instance().presenter.fadeSeconds) * 1000;
    const QRect area = fading.add(std::unique_ptr<Obj>(obj), clock.now(), life,
                                  host->transform().pageRect(), host->deviceRatio());
    // Re-rendered from the page, the layer loses the pen's pieces there.
    host->updateObjectCache(host->currentPage(), area);
    clock.setTarget(host);
    clock.wake();
}

void PresenterKit::pageChanged()
{
    fading.clear();
    clock.wake();
}

void PresenterKit::paint(QPainter *painter, const QRegion &exposed) const
{
    fading.paint(painter, clock.now(), exposed);
    trail.paint(painter, clock.now(), exposed);
}
