#include "maindialog.h"

MainDialog::MainDialog(QWidget *pParent)
    : QDialog(pParent,
              Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
{
}
