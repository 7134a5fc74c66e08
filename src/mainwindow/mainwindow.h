#pragma once

#include <QList>
#include <QMainWindow>
#include <QPainterPath>
#include <QPixmap>
#include <QSystemTrayIcon>

class QAction;
class QMenu;
class QScreen;
class QTimer;
class TabBar;

// The controller of the program. In desktop mode it is hidden and only the
// toolbar floats over the desktop; in drawing mode it covers one screen, stays
// on top and shows the current page. Every command ends in one of its slots.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // The one main window, or null before it is built and after it is gone.
    static MainWindow *instance();

    void SetDrawMode(bool bDrawMode);
    bool isBusy() const { return busy; }
    bool isHiddenToTray() const { return hiddenToTray; }
    QScreen *currentScreen() const;
    // The last capture of the screen, shown while drawing.
    QPixmap capturedScreen() const { return capture; }
    QSystemTrayIcon *trayIcon() const { return tray; }
    QAction *trayOpenAction() const { return actionOpen; }

Q_SIGNALS:
    void signal_UpdateLang();

public Q_SLOTS:
    void slot_ReceiveMessage(QString strMessage);
    void slot_AboutToQuit_SaveINI();
    void slot_Exit();
    void slot_LiveDesktop();
    void slot_NewCapture();
    void slot_CaptureDone();
    void slot_PrepareDesktopDone();
    void slot_ScreenResized(int iScreen);
    void slot_ScreenResizedTimeOut();
    void slot_ChangeLanguage(QString strLanguage);
    void slot_OpenFromTray();
    void slot_HideToTray();
    void slot_TrayIconActivated(QSystemTrayIcon::ActivationReason reason);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;

private:
    void createTrayIcon();
    void retranslateTray();
    void watchScreens();
    void hideToTray();
    bool askBeforeHidingToTray();
    QPixmap grabScreen() const;

    TabBar *tabBar = nullptr;
    QMenu *trayMenu = nullptr;
    QSystemTrayIcon *tray = nullptr;
    QAction *actionOpen = nullptr;
    QAction *actionCapture = nullptr;
    QAction *actionExit = nullptr;
    QList<QWidget *> rulers;
    int desktopTool = 0;
    QPainterPath previousCaptureArea;
    bool updateRequested = false;
    bool busy = false;
    bool hiddenToTray = false;
    QTimer *resizeTimer = nullptr;
    QPixmap capture;
};
