#include "toolbarkeys.h"

#include "widgets/keywalk.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

ToolbarKeys::ToolbarKeys(QWidget *pToolbar)
    : QObject(pToolbar)
    , toolbar(pToolbar)
{
}

void ToolbarKeys::setOrder(const QList<QWidget *> &controls)
{
    order.clear();
    for (QWidget *control : controls) {
        order.append(control);
        control->installEventFilter(this);
    }
}

bool ToolbarKeys::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pEvent->type() == QEvent::FocusIn) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(pEvent)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason)
            active = true;
        else if (!active)
            giveAway();
    }
    return QObject::eventFilter(pWatched, pEvent);
}

void ToolbarKeys::giveAway()
{
    toolbar->window()->setFocus(Qt::OtherFocusReason);
}

QList<QWidget *> ToolbarKeys::reachable() const
{
    QList<QWidget *> found;
    for (const QPointer<QWidget> &control : order) {
        if (control && control->isVisibleTo(toolbar) && control->isEnabled())
            found.append(control);
    }
    return found;
}

QWidget *ToolbarKeys::focused() const
{
    QWidget *focus = toolbar->focusWidget();
    return (focus && order.contains(focus)) ? focus : nullptr;
}

void ToolbarKeys::setActive(bool bActive)
{
    if (active == bActive)
        return;
    active = bActive;
    if (QWidget *focus = focused()) {
        focus->update();
        if (!active && focus->hasFocus())
            giveAway();
    }
}

void ToolbarKeys::enter(QWidget *pAt)
{
    QWidget *before = QApplication::focusWidget();
    if (!active && before && !toolbar->isAncestorOf(before))
        returnFocus = before;
    const QList<QWidget *> controls = reachable();
    active = true;
    if (controls.contains(pAt))
        pAt->setFocus(Qt::ShortcutFocusReason);
    else if (!controls.isEmpty())
        controls.first()->setFocus(Qt::ShortcutFocusReason);
    if (QWidget *focus = focused())
        focus->update();
}

void ToolbarKeys::leave()
{
    setActive(false);
    if (QWidget *back = returnFocus) {
        returnFocus = nullptr;
        back->activateWindow();
        back->setFocus(Qt::OtherFocusReason);
        return;
    }
}

void ToolbarKeys::holdFocus()
{
    heldFocus = active ? focused() : nullptr;
}

void ToolbarKeys::restoreFocus()
{
    if (QWidget *control = heldFocus) {
        heldFocus = nullptr;
        control->setFocus(Qt::OtherFocusReason);
    }
}

bool ToolbarKeys::step(bool bNext)
{
    QWidget *focus = focused();
    const QList<QWidget *> controls = reachable();
    if (!focus || controls.isEmpty())
        return false;
    const int at = controls.indexOf(focus);
    const int count = int(controls.size());
    const int next = at < 0 ? 0 : (at + (bNext ? 1 : count - 1)) % count;
    active = true;
    controls.at(next)->setFocus(bNext ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

bool ToolbarKeys::keyPress(QKeyEvent *pEvent)
{
    if (!active)
        return false;
    if (pEvent->key() == Qt::Key_Escape) {
        leave();
        return true;
    }
    QWidget *focus = focused();
    if (!focus)
        return false;
    QWidget *target = KeyWalk::neighbour(reachable(), focus, pEvent->key());
    if (!target)
        return pEvent->key() >= Qt::Key_Left && pEvent->key() <= Qt::Key_Down;
    active = true;
    target->setFocus(Qt::OtherFocusReason);
    return true;
}
