#pragma once

#include "stripbutton.h"

// The title strip's button that folds the toolbar to its title strip and back.
class MinBtn : public StripButton
{
    Q_OBJECT
public:
    explicit MinBtn(QWidget *pParent);
};
