#pragma once

#include <QDialog>

// A titled dialog of fixed size with a close button; the base of the
// preferences, text input, about, export and update dialogs.
class MainDialog : public QDialog
{
    Q_OBJECT
public:
    explicit MainDialog(QWidget *pParent = nullptr);
};
