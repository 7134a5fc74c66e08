#include "globalhotkeys.h"

#include "app/appstate.h"
#include "platform/platform.h"

GlobalHotKeys::GlobalHotKeys(Platform &platform, QObject *pParent)
    : QObject(pParent)
    , platform(platform)
{
    connect(&platform.hotKeyEvents(), &HotKeyEvents::signal_HotKey, this, &GlobalHotKeys::forward);
}

GlobalHotKeys::~GlobalHotKeys()
{
    UnregisterHotKeys();
}

void GlobalHotKeys::RegisterHotKeys()
{
    UnregisterHotKeys();
    const AppState &state = AppState::instance();
    for (int i = 0; i < AppState::HotKeyCount; ++i) {
        const HotKeyRecord &record = state.hotKeys[i];
        const int id = (i + 1) * 100;
        if (record.enabled && platform.registerHotKey(id, record))
            registered.insert(id);
    }
}

void GlobalHotKeys::UnregisterHotKeys()
{
    for (const int id : registered)
        platform.unregisterHotKey(id);
    registered.clear();
}

// A press queued before its hotkey was released must not act.
void GlobalHotKeys::forward(int iId)
{
    if (registered.count(iId) != 0)
        emit signal_HotKey(iId);
}
