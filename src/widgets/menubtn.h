#pragma once

#include "stripbutton.h"

// The title strip's button that opens the menus while the menu bar is hidden.
class MenuBtn : public StripButton
{
    Q_OBJECT
public:
    explicit MenuBtn(QWidget *pParent);
};
