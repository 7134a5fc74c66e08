#pragma once

#include "widgets/maindialog.h"

class QLabel;
class QPushButton;

// "Waiting for the desktop…" with a Cancel button, over everything the
// program shows; it blocks nothing. Cancel (or closing it) rejects it.
class WaitNote : public MainDialog
{
    Q_OBJECT
public:
    explicit WaitNote(QWidget *pParent);

    QPushButton *cancelButton() const { return cancel; }

public Q_SLOTS:
    void slot_UpdateLang();

protected:
    void showEvent(QShowEvent *pEvent) override;

private:
    QLabel *text;
    QPushButton *cancel;
};
