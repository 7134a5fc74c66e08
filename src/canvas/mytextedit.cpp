#include "mytextedit.h"

#include <QKeyEvent>

MyTextEdit::MyTextEdit(QWidget *pParent)
    : QTextEdit(pParent)
{
    QPalette pal = palette();
    pal.setColor(QPalette::Base, Qt::transparent);
    setPalette(pal);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setLineWrapMode(QTextEdit::NoWrap);
    setAcceptRichText(false);
}

void MyTextEdit::keyPressEvent(QKeyEvent *pEvent)
{
    const bool enter = pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter;
    if (pEvent->key() == Qt::Key_Escape
        || (enter && pEvent->modifiers().testFlag(Qt::ControlModifier))) {
        pEvent->accept();
        return;
    }
    QTextEdit::keyPressEvent(pEvent);
}
