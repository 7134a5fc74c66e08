#include "menubtn.h"

MenuBtn::MenuBtn(QWidget *pParent)
    : StripButton(QStringLiteral(":/Res/Menu"), 16, pParent)
{
}
