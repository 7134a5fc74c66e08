#pragma once

#include <QTextEdit>

// The text area of the in-place text editor: transparent, frameless, plain
// text on unwrapped lines. Escape and Ctrl+Return stay out of the text, and
// the text stays within what a document's text object may hold.
class MyTextEdit : public QTextEdit
{
    Q_OBJECT
public:
    explicit MyTextEdit(QWidget *pParent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *pEvent) override;
    void insertFromMimeData(const QMimeData *pSource) override;

private:
    bool isFull(const QKeyEvent *pEvent) const;
};
