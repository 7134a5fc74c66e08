#include "maindialog.h"

// Customised hints keep window managers from offering to maximise a dialog of
// fixed size.
MainDialog::MainDialog(QWidget *pParent)
    : QDialog(pParent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint
                  | Qt::MSWindowsFixedSizeDialogHint)
{
}
