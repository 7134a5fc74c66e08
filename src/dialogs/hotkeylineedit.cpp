#include "hotkeylineedit.h"

#include <QKeyEvent>

HotKeyLineEdit::HotKeyLineEdit(QWidget *pParent)
    : QLineEdit(pParent)
{
    setFrame(false);
    setStyleSheet(QStringLiteral("border: none"));
    setContextMenuPolicy(Qt::NoContextMenu);
    setAttribute(Qt::WA_InputMethodEnabled, false);
    // Read-only keeps pasting with the mouse and dropping text out; key
    // presses still arrive.
    setReadOnly(true);
    setAcceptDrops(false);
}

// A combination that is also a shortcut somewhere must reach the field.
bool HotKeyLineEdit::event(QEvent *pEvent)
{
    if (pEvent->type() == QEvent::ShortcutOverride) {
        pEvent->accept();
        return true;
    }
    return QLineEdit::event(pEvent);
}

void HotKeyLineEdit::keyPressEvent(QKeyEvent *pEvent)
{
    pEvent->accept();
    Q_EMIT signal_ChangeHotKey(pEvent);
}
