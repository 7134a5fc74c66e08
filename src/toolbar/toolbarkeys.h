#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class QKeyEvent;
class QWidget;

// The toolbar by keyboard: Tab, Shift+Tab and the arrows walk its controls in
// reading order and along its grid, Escape leaves. Keyboard mode begins with
// enter() (the focus command) or with Tab into the toolbar and ends with
// Escape or a mouse press on it; the focus ring shows only in keyboard mode,
// so a mouse user never sees one. Outside keyboard mode no control keeps the
// keyboard: a window's activation would otherwise hand it to the first
// button, and Space or Escape meant for the page would press it.
class ToolbarKeys : public QObject
{
    Q_OBJECT
public:
    explicit ToolbarKeys(QWidget *pToolbar);

    // The controls in reading order; the walk skips hidden and disabled ones.
    void setOrder(const QList<QWidget *> &controls);
    QList<QWidget *> reachable() const;
    bool isActive() const { return active; }
    void setActive(bool bActive);
    // Remembers where the keyboard was and puts it on pAt, or on the first
    // control. Coming back while still in keyboard mode (from a panel of the
    // toolbar) keeps the place to return to that the first entry remembered.
    void enter(QWidget *pAt = nullptr);
    // Ends keyboard mode and gives the keyboard back to where it was.
    void leave();
    // Tab (bNext) or Shift+Tab from the focused control; false when the
    // keyboard is on none of the toolbar's controls.
    bool step(bool bNext);
    // Arrows and Escape in keyboard mode; false for any other key.
    bool keyPress(QKeyEvent *pEvent);

    // Moving the toolbar between the desktop and a page hides it and so takes
    // the keyboard away: it comes back to the same control once shown.
    void holdFocus();
    void restoreFocus();

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    QWidget *focused() const;
    // Hands the keyboard from a control to the window holding the toolbar.
    void giveAway();

    QWidget *toolbar;
    QList<QPointer<QWidget>> order;
    QPointer<QWidget> returnFocus;
    QPointer<QWidget> heldFocus;
    bool active = false;
};
