#include "progressdialog.h"

#include "app/appstate.h"
#include "messageboxdialog.h"

#include <QProgressBar>

ProgressDialog::ProgressDialog(QWidget *pParent, const QString &strLabel, const QString &strCancel,
                               int minimum, int maximum, bool bStayOnTop)
    : QProgressDialog(strLabel, strCancel, minimum, maximum, pParent)
    , bar(new QProgressBar(this))
{
    bar->setRange(minimum, maximum);
    bar->setValue(minimum);
    setBar(bar);
    setWindowTitle(MessageBoxDialog::productTitle());
    if (bStayOnTop)
        setWindowFlags(windowFlags() | Qt::WindowStaysOnTopHint);
    if (strCancel.isEmpty())
        setCancelButton(nullptr);
    setMinimumWidth(AppState::instance().scaled(300));
}

void ProgressDialog::advance(int iValue)
{
    bar->setValue(iValue);
}
