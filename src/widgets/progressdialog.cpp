#include "progressdialog.h"

#include "app/appstate.h"
#include "messageboxdialog.h"

ProgressDialog::ProgressDialog(QWidget *pParent, const QString &strLabel, const QString &strCancel,
                               int minimum, int maximum, bool bStayOnTop)
    : QProgressDialog(strLabel, strCancel, minimum, maximum, pParent)
{
    setWindowTitle(MessageBoxDialog::productTitle());
    if (bStayOnTop)
        setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    if (strCancel.isEmpty())
        setCancelButton(nullptr);
    setMinimumWidth(AppState::instance().scaled(300));
}
