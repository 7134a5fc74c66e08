#include "colourdialog.h"

#include "mainwindow/mainwindow.h"
#include "popupwidget.h"

#include <QColorDialog>
#include <QPointer>

bool ColourDialog::ask(QWidget *pFrom, const QColor &start, QColor &chosen)
{
    QPointer<PopupWidget> transient = PopupWidget::transientOf(pFrom);
    if (transient)
        transient->hide();
    QWidget *parent = MainWindow::instance();
    QPointer<QColorDialog> dialog = new QColorDialog(start, parent ? parent : pFrom->window());
    dialog->setOption(QColorDialog::DontUseNativeDialog);
    const bool accepted = dialog->exec() == QDialog::Accepted && dialog;
    if (accepted)
        chosen = dialog->selectedColor();
    delete dialog.data();
    if (transient)
        transient->close();
    return accepted;
}
