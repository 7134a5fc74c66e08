#include "createbtn.h"

CreateBtn::CreateBtn(QWidget *pParent)
    : StripButton(QStringLiteral(":/Tools/Create"), 16, pParent)
{
}
