#pragma once

#include <QObject>
#include <QSystemTrayIcon>

class MainWindow;
class QMenu;

// The tray icon and its menu, and the program hidden to the tray: closing
// the toolbar hides it there (after a question the user may turn off), the
// icon brings it back.
class TrayController : public QObject
{
    Q_OBJECT
public:
    explicit TrayController(MainWindow *pWindow);

    QSystemTrayIcon *icon() const { return tray; }
    QMenu *menu() const { return trayMenu; }
    bool isHidden() const { return hidden; }

    void openFromTray();
    // What closing the toolbar does: ends drawing first; without a tray icon
    // to come back by, ends the program.
    void closeToolbar();
    void activated(QSystemTrayIcon::ActivationReason reason);

private:
    void hideToTray();
    bool askBeforeHiding();

    MainWindow *window;
    QMenu *trayMenu = nullptr;
    QSystemTrayIcon *tray = nullptr;
    bool hidden = false;
};
