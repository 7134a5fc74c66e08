#pragma once

#include <QList>
#include <QMainWindow>
#include <QSystemTrayIcon>

class DesktopToolRunner;
class DocumentCommands;
class DocumentFiles;
class GlobalHotKeys;
class MainShortcut;
class MainView;
class MenuBar;
class OptionPopups;
class QMenu;
class QScreen;
class QTimer;
class SessionJournal;
class SessionRecovery;
class TabBar;
class ToolWidget;

// The controller of the program. In desktop mode it is hidden and only the
// toolbar floats over the desktop; in drawing mode it covers one screen, stays
// on top and shows the current page with the toolbar inside it. Every command
// ends in one of its slots.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    MainWindow();
    ~MainWindow() override;

    // The one main window, or null before it is built and after it is gone.
    static MainWindow *instance();

    void SetDrawMode(bool bDrawMode);
    // Calls the slot of the last drawing tool without changing modes.
    void RestoreDrawTool();
    // Returns to the desktop and waits until the switch is done.
    void leaveDrawModeAndWait();
    // Hands image files to the open operation (new pages, or the current page).
    void OpenImages(const QString &strLabel, const QStringList &files, bool bIntoCurrentPage);

    bool isBusy() const { return busy; }
    void setBusy(bool bBusy) { busy = bBusy; }
    DesktopToolRunner *desktopTools() const { return runner; }
    DocumentCommands *documentCommands() const { return documents; }
    DocumentFiles *documentFiles() const { return docFiles; }
    // Journals the pages from now on, after offering back those of a run
    // that did not close normally. Only the holder of the single-instance
    // lock calls it: the session file is one per user.
    void startSession();
    SessionJournal *sessionJournal() const { return journal; }
    OptionPopups *optionPopups() const { return popups; }
    bool isHiddenToTray() const { return hiddenToTray; }
    QScreen *currentScreen() const;
    MainView *view() const { return mainView; }
    MenuBar *menu() const { return menuBar; }
    ToolWidget *toolbar() const { return toolWidget; }
    MainShortcut *shortcuts() const { return mainShortcut; }
    QSystemTrayIcon *trayIcon() const { return tray; }
    QMenu *trayContextMenu() const { return trayMenu; }

Q_SIGNALS:
    void signal_UpdateLang();

public Q_SLOTS:
    void slot_ReceiveMessage(QString) { slot_OpenFromTray(); }
    void slot_AboutToQuit_SaveINI();
    void slot_ChangeDrawToolWidth(int iWidth);
    void slot_ChangeDrawToolColor(QColor colour);
    void slot_ChangeDrawToolOpacity(int iOpacity);
    void slot_ChangeNewpageColor(QColor colour);
    void slot_SelectOpPage(int iOpPage);
    void slot_SelectSave(int iSave);
    // Starts desktop tool iTools (0-7; 41-43 pick one colour for the current
    // tool, the fill or the new page).
    void slot_SelectTools(int iTools);
    void slot_New(qint8 iPress);
    void slot_New();
    void slot_NewFullScreenCapture();
    void slot_DuplicatePage();
    void slot_Open();
    void slot_Save() { slot_SelectSave(1); }
    void slot_Close();
    void slot_CloseAll();
    void slot_Exit();
    // A polite end of the process (logout, shutdown): no question; the
    // pages go to the session journal and are offered at the next start.
    void slot_Terminate();
    void slot_Undo(qint8) { slot_Undo(); }
    void slot_Undo();
    void slot_Redo(qint8) { slot_Redo(); }
    void slot_Redo();
    void slot_ClearPage();
    void slot_InsertImage();
    void slot_InsertText();
    void slot_InsertNumber();
    void slot_InsertNumber_Inc();
    void slot_Minimize();
    void slot_MinimizeToolbar();
    void slot_PageUp(qint8) { slot_PageUp(); }
    void slot_PageUp();
    void slot_PageDown(qint8) { slot_PageDown(); }
    void slot_PageDown();
    void slot_BackToLastPage();
    void slot_Browser_GotoPage(int iPage);
    void slot_LiveDesktop(qint8) { slot_LiveDesktop(); }
    void slot_LiveDesktop();
    void slot_Mouse(qint8 iPress, bool bGotoDrawMode);
    void slot_Mouse(qint8 iPress) { slot_Mouse(iPress, true); }
    void slot_Mouse() { slot_Mouse(1, true); }
    void slot_Select(qint8, bool b);
    void slot_Select(qint8 iPress) { slot_Select(iPress, true); }
    void slot_Select() { slot_Select(1, true); }
    void slot_Pen(qint8, bool b);
    void slot_Pen(qint8 iPress) { slot_Pen(iPress, true); }
    void slot_Pen() { slot_Pen(1, true); }
    void slot_Highlighter(qint8, bool b);
    void slot_Highlighter(qint8 iPress) { slot_Highlighter(iPress, true); }
    void slot_Highlighter() { slot_Highlighter(1, true); }
    void slot_Eraser(qint8, bool b);
    void slot_Eraser(qint8 iPress) { slot_Eraser(iPress, true); }
    void slot_Eraser() { slot_Eraser(1, true); }
    void slot_Line(qint8, bool b);
    void slot_Line(qint8 iPress) { slot_Line(iPress, true); }
    void slot_Line() { slot_Line(1, true); }
    void slot_Shape(qint8, bool b);
    void slot_Shape(qint8 iPress) { slot_Shape(iPress, true); }
    void slot_Shape() { slot_Shape(1, true); }
    void slot_Text(qint8, bool b);
    void slot_Text(qint8 iPress) { slot_Text(iPress, true); }
    void slot_Text() { slot_Text(1, true); }
    void slot_Browser(qint8) { slot_Browser(); }
    void slot_Browser();
    void slot_FloatingDrawToolOptions(qint8) { slot_FloatingDrawToolOptions(); }
    void slot_FloatingDrawToolOptions();
    void slot_ScreenCapture_Rect() { slot_SelectTools(0); }
    void slot_ScreenCapture_Freeform() { slot_SelectTools(1); }
    void slot_ScreenCapture_Window() { slot_SelectTools(2); }
    void slot_ScreenCapture_PreviousArea() { slot_SelectTools(3); }
    void slot_ColorPicker() { slot_SelectTools(4); }
    void slot_Magnifier() { slot_SelectTools(5); }
    void slot_Ruler() { slot_SelectTools(6); }
    void slot_Protractor() { slot_SelectTools(7); }
    void slot_ColorPicker_HotKey();
    void slot_Help();
    void slot_Feedback();
    void slot_Updates();
    void slot_Preferences();
    void slot_About();
    void slot_NewCapture();
    void slot_CaptureDone();
    void slot_PrepareDesktopDone();
    void slot_PopupOpPageWidget(qint8 iPress);
    void slot_PopupOpPageWidget() { slot_PopupOpPageWidget(3); }
    void slot_PopupSaveWidget(qint8 iPress);
    void slot_PopupSaveWidget() { slot_PopupSaveWidget(3); }
    void slot_PopupToolsWidget(qint8 iPress);
    void slot_PopupToolsWidget() { slot_PopupToolsWidget(1); }
    void slot_PopupOptionWidget(qint8 iPress, bool bIsPopup);
    void slot_PopupOptionWidget(qint8 iPress) { slot_PopupOptionWidget(iPress, true); }
    void slot_PopupOptionWidget() { slot_PopupOptionWidget(1, true); }
    void slot_ScreenResized(int iScreen);
    void slot_ScreenResizedTimeOut();
    void slot_ChangeLanguage(QString strLanguage);
    void slot_OpenFromTray();
    void slot_HideToTray();
    void slot_TrayIconActivated(QSystemTrayIcon::ActivationReason reason);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void resizeEvent(QResizeEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;

private:
    void createMenus();
    void createTrayIcon();
    void createToolbar();
    void connectToolbar();
    void watchScreens();
    void screenRemoved(QScreen *removed);
    void hideToTray();
    void giveWindowAnAlphaChannel();
    bool askBeforeHidingToTray();
    bool askToSaveBeforeClosing();
    void selectDrawTool(int iTool, bool bMustChangeDrawMode);
    void updateDial();
    void enterDrawModeFromDesktop();
    void waitForDesktopMode();
    bool confirm(const QString &strText, const QString &strInformative);
    void onHotKey(int id);
    void connectDocumentFiles();
    void offerSession(SessionRecovery &recovery);

    MenuBar *menuBar = nullptr;
    TabBar *tabBar = nullptr;
    MainView *mainView = nullptr;
    QMenu *trayMenu = nullptr;
    QSystemTrayIcon *tray = nullptr;
    ToolWidget *toolWidget = nullptr;
    MainShortcut *mainShortcut = nullptr;
    DocumentCommands *documents = nullptr;
    DocumentFiles *docFiles = nullptr;
    SessionJournal *journal = nullptr;
    GlobalHotKeys *hotKeys = nullptr;
    DesktopToolRunner *runner = nullptr;
    OptionPopups *popups = nullptr;
    // A downloaded update, handed over when the program closes.
    QString updateInstaller;
    bool busy = false;
    bool hiddenToTray = false;
    QTimer *resizeTimer = nullptr;
    // The screens as they were before the last change: the screen index must
    // follow its screen when another one goes.
    QList<QScreen *> knownScreens;
};
