#pragma once

#include "desktoptoolpanel.h"

class QAbstractButton;

// The magnifier's panel: the three capture outputs, zoom in, zoom out and the
// full-screen switch.
class ZoomOptionWidget : public DesktopToolPanel
{
    Q_OBJECT
public:
    enum Button { Captopage, Captofile, Captoclip, ZoomIn, ZoomOut, ZoomAll, ButtonCount };

    ZoomOptionWidget(bool bFullScreen, QWidget *pParent);

    QAbstractButton *button(Button which) const { return buttons[which]; }

private:
    QAbstractButton *buttons[ButtonCount];
};
