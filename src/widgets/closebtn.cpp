#include "closebtn.h"

CloseBtn::CloseBtn(QWidget *pParent)
    : StripButton(QStringLiteral(":/Res/Close"), 16, pParent)
{
}
