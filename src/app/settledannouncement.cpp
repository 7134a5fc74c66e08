#include "settledannouncement.h"

#include <utility>

namespace {
bool (*s_listening)() = &QAccessible::isActive;
}

void SettledAnnouncement::setListening(bool (*fnListening)())
{
    s_listening = fnListening ? fnListening : &QAccessible::isActive;
}

SettledAnnouncement::SettledAnnouncement(QWidget *pTarget, std::function<QString()> fnText,
                                         int iSettleMs)
    : QObject(pTarget)
    , target(pTarget)
    , text(std::move(fnText))
{
    settle.setSingleShot(true);
    settle.setInterval(iSettleMs);
    connect(&settle, &QTimer::timeout, this, &SettledAnnouncement::announce);
    QAccessible::installActivationObserver(this);
}

SettledAnnouncement::~SettledAnnouncement()
{
    QAccessible::removeActivationObserver(this);
}

void SettledAnnouncement::accessibilityActiveChanged(bool bActive)
{
    if (bActive)
        changed();
}

void SettledAnnouncement::changed()
{
    if (s_listening())
        settle.start();
}

void SettledAnnouncement::announce()
{
    if (!target || !s_listening())
        return;
    const QString now = text();
    // The same name again is no change and would not be spoken.
    if (now != target->accessibleName())
        target->setAccessibleName(now);
}
