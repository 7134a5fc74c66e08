#pragma once

#include <QObject>

class MenuBar;
class QAction;
class QShortcut;
class QWidget;

// Keyboard shortcuts of the toolbar window. In desktop mode the main window
// and its menu bar are hidden, so these keys reach the menu actions from the
// toolbar; in drawing mode the toolbar lives inside the main window, whose
// menu actions answer the same keys, so these step aside (two shortcuts on
// one key in one window would be ambiguous and neither would fire). They are
// the keys of the menu's own entries, so both windows answer alike.
class MainShortcut : public QObject
{
    Q_OBJECT
public:
    MainShortcut(QWidget *pToolbar, MenuBar *pMenuBar);

    void setActive(bool bActive);
    bool isActive() const { return active; }

private:
    // A disabled command does nothing.
    static void trigger(QAction *pAction);

    QList<QShortcut *> shortcuts;
    bool active = true;
};
