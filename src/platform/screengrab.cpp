#include "screengrab.h"

ScreenGrab::ScreenGrab(std::function<QPixmap()> grabNow)
    : grabNow(std::move(grabNow))
{
}

void ScreenGrab::ask()
{
    picture = grabNow();
}

QPixmap ScreenGrab::take()
{
    return std::exchange(picture, QPixmap());
}
