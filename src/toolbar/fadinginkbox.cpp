#include "fadinginkbox.h"

#include "app/lang.h"
#include "canvas/presenterkit.h"

FadingInkBox::FadingInkBox(QWidget *pParent)
    : QCheckBox(Lang::single("PopupWidget", QStringLiteral("Fading Ink")), pParent)
{
    PresenterKit &kit = PresenterKit::instance();
    setObjectName(QStringLiteral("fadingInkBox"));
    setFocusPolicy(Qt::TabFocus);
    setChecked(kit.fadingInk());
    connect(this, &QCheckBox::toggled, &kit, &PresenterKit::setFadingInk);
    connect(&kit, &PresenterKit::fadingInkChanged, this, &QCheckBox::setChecked);
}
