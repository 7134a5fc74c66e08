#include "combobox_readonly.h"

#include <QWheelEvent>

ComboBox_ReadOnly::ComboBox_ReadOnly(QWidget *pParent)
    : QComboBox(pParent)
{
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
}

void ComboBox_ReadOnly::wheelEvent(QWheelEvent *pEvent)
{
    if (hasFocus())
        QComboBox::wheelEvent(pEvent);
    else
        pEvent->ignore();
}
