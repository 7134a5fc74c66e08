#pragma once

#include "widgets/stripbutton.h"

// The small strip button that opens one more of a tool's windows.
class CreateBtn : public StripButton
{
    Q_OBJECT
public:
    explicit CreateBtn(QWidget *pParent);
};
