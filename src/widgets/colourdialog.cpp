#include "colourdialog.h"

#include <QColorDialog>
#include <QPointer>

bool ColourDialog::ask(QWidget *pParent, QWidget *pTransient, const QColor &start, QColor &chosen)
{
    QPointer<QWidget> transient = pTransient;
    if (transient)
        transient->hide();
    QPointer<QColorDialog> dialog = new QColorDialog(start, pParent);
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    const bool accepted = dialog->exec() == QDialog::Accepted && dialog;
    if (accepted)
        chosen = dialog->selectedColor();
    delete dialog.data();
    if (transient)
        transient->close();
    return accepted;
}
