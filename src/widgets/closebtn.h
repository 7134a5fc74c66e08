#pragma once

#include "stripbutton.h"

// The title strip's close button; the owner decides what closing means.
class CloseBtn : public StripButton
{
    Q_OBJECT
public:
    explicit CloseBtn(QWidget *pParent);
};
