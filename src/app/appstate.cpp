#include "appstate.h"

#include <memory>

namespace {
std::unique_ptr<AppState> &storage()
{
    static std::unique_ptr<AppState> state;
    return state;
}
} // namespace

AppState &AppState::instance()
{
    auto &state = storage();
    if (!state)
        state.reset(new AppState);
    return *state;
}

void AppState::reset()
{
    storage().reset(new AppState);
}

const AppState &AppState::defaults()
{
    static const AppState state;
    return state;
}

QList<QColor> AppState::defaultRgb()
{
    static const char *const names[]
        = { "#000000", "#ffffff", "#7f7f7f", "#c3c3c3", "#880015", "#b97a57",
            "#ed1c24", "#ffaec9", "#ff7f27", "#ffc90e", "#fff200", "#efe4b0",
            "#22b14c", "#b5e61d", "#00a2e8", "#99d9ea", "#3f48cc", "#7092be" };
    QList<QColor> colours;
    for (const char *name : names)
        colours.append(QColor(QLatin1String(name)));
    return colours;
}

QList<QColor> AppState::defaultRgb2()
{
    static const char *const names[] = { "#000000", "#ffffff", "#7f7f7f", "#ed1c24", "#ff7f27",
                                         "#fff200", "#22b14c", "#b5e61d", "#00a2e8" };
    QList<QColor> colours;
    for (const char *name : names)
        colours.append(QColor(QLatin1String(name)));
    return colours;
}

HotKeyRecord AppState::defaultHotKey(int index)
{
    HotKeyRecord record;
    if (index != 5)
        return record;
    // Ctrl+Alt+K: taken by no desktop we know of, nor by our own menus.
    record.enabled = true;
    record.ctrl = true;
    record.alt = true;
    record.virtualKey = 'K';
    return record;
}

int AppState::scaled(double base) const
{
    double size = base / scaleFactor1;
    if (enableTouchUI)
        size /= scaleFactor2;
    return int(size);
}

bool AppState::wantsHighResPictures() const
{
    return enableTouchUI || scaleFactor1 < 1.0;
}
