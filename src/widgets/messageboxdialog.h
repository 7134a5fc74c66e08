#pragma once

#include <QMessageBox>

// Every confirmation of the program: the product title and icon, with the
// texts and the button captions translated in the "MessageBox" context.
class MessageBoxDialog : public QMessageBox
{
    Q_OBJECT
public:
    MessageBoxDialog(QWidget *pParent, const QString &strText, const QString &strInformative,
                     QMessageBox::StandardButtons buttons,
                     QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    static QString productTitle();
    // The least width that shows the whole title in a window manager's title
    // bar, beside its icon and buttons.
    int titleWidth() const;

protected:
    void showEvent(QShowEvent *pEvent) override;
};
