#pragma once

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

// While it lives, answers each message box with `button` (its default
// acceptance when none) and notes its text, with the informative text on a
// second line when there is one, and its title; file dialogs are counted and
// cancelled.
// Other dialogs are counted, and rejected when rejectOtherDialogs is set.
class ModalAnswerer
{
public:
    explicit ModalAnswerer(QMessageBox::StandardButton button = QMessageBox::NoButton)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, button] { answer(button); });
        timer.start(5);
    }

    QStringList texts;
    QStringList titles;
    int fileDialogs = 0;
    int otherDialogs = 0;
    bool rejectOtherDialogs = false;

private:
    void answer(QMessageBox::StandardButton button)
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *files = qobject_cast<QFileDialog *>(modal)) {
            ++fileDialogs;
            files->reject();
        } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            const QString detail = box->informativeText();
            texts.append(detail.isEmpty() ? box->text() : box->text() + u'\n' + detail);
            titles.append(box->windowTitle());
            if (button == QMessageBox::NoButton)
                box->accept();
            else
                box->button(button)->click();
        } else if (auto *dialog = qobject_cast<QDialog *>(modal); dialog && dialog != seen) {
            ++otherDialogs;
            seen = dialog;
            if (rejectOtherDialogs)
                dialog->reject();
        }
    }

    QTimer timer;
    QPointer<QDialog> seen;
};
