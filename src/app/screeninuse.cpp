#include "screeninuse.h"

#include <QGuiApplication>
#include <QScreen>

ScreenInUse &ScreenInUse::instance()
{
    static ScreenInUse screenInUse;
    return screenInUse;
}

QScreen *ScreenInUse::screen()
{
    QScreen *chosen = instance().chosen;
    return chosen ? chosen : QGuiApplication::primaryScreen();
}

int ScreenInUse::index()
{
    return int(QGuiApplication::screens().indexOf(screen()));
}

void ScreenInUse::use(QScreen *pScreen)
{
    QScreen *before = screen();
    chosen = pScreen;
    if (screen() != before)
        Q_EMIT changed(screen());
}
