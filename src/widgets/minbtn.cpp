#include "minbtn.h"

MinBtn::MinBtn(QWidget *pParent)
    : StripButton(QStringLiteral(":/Res/Min"), 16, pParent)
{
}
