#pragma once

#include <QList>
#include <QMainWindow>
#include <QPainterPath>
#include <QSystemTrayIcon>

class QAction;
class QMenu;
class QScreen;
class QTimer;
class MainView;
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
    MainView *view() const { return mainView; }
    // Calls the slot of the last drawing tool without changing modes.
    void RestoreDrawTool();
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

    void slot_Mouse(qint8 iPress, bool bGotoDrawMode);
    void slot_Mouse(qint8 iPress);
    void slot_Mouse();
    void slot_Select(qint8 iPress, bool bMustChangeDrawMode);
    void slot_Select(qint8 iPress);
    void slot_Select();
    void slot_Pen(qint8 iPress, bool bMustChangeDrawMode);
    void slot_Pen(qint8 iPress);
    void slot_Pen();
    void slot_Highlighter(qint8 iPress, bool bMustChangeDrawMode);
    void slot_Highlighter(qint8 iPress);
    void slot_Highlighter();
    void slot_Eraser(qint8 iPress, bool bMustChangeDrawMode);
    void slot_Eraser(qint8 iPress);
    void slot_Eraser();
    void slot_Line(qint8 iPress, bool bMustChangeDrawMode);
    void slot_Line(qint8 iPress);
    void slot_Line();
    void slot_Shape(qint8 iPress, bool bMustChangeDrawMode);
    void slot_Shape(qint8 iPress);
    void slot_Shape();
    void slot_Text(qint8 iPress, bool bMustChangeDrawMode);
    void slot_Text(qint8 iPress);
    void slot_Text();

    void slot_New();
    void slot_NewFullScreenCapture();
    void slot_DuplicatePage();
    void slot_Close();
    void slot_Undo();
    void slot_Redo();
    void slot_PageUp();
    void slot_PageDown();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void resizeEvent(QResizeEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;

private:
    void createTrayIcon();
    void retranslateTray();
    void watchScreens();
    void hideToTray();
    bool askBeforeHidingToTray();
    void selectDrawTool(int iTool, bool bMustChangeDrawMode);
    void enterDrawModeFromDesktop();
    void waitForDesktopMode();
    void createToolShortcuts();

    TabBar *tabBar = nullptr;
    MainView *mainView = nullptr;
    QMenu *trayMenu = nullptr;
    QSystemTrayIcon *tray = nullptr;
    QAction *actionOpen = nullptr;
    QAction *actionNew = nullptr;
    QAction *actionCapture = nullptr;
    QAction *actionExit = nullptr;
    QList<QWidget *> rulers;
    int desktopTool = 0;
    QPainterPath previousCaptureArea;
    bool updateRequested = false;
    bool busy = false;
    bool hiddenToTray = false;
    QTimer *resizeTimer = nullptr;
};
