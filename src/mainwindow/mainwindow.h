#pragma once

#include "canvas/toolkit.h"
#include "desktoptoolrunner.h"
#include "documentcommands.h"
#include "drawmodeswitch.h"
#include "helpcommands.h"
#include "pagecommands.h"
#include "preferencesflow.h"
#include "presentercommands.h"
#include "screenwatcher.h"
#include "sessionkeeper.h"
#include "toolselection.h"
#include "traycontroller.h"

#include <QMainWindow>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

class DesktopWait;
class DocumentFiles;
class LiveZoom;
class MainShortcut;
class MainView;
class MenuBar;
class OptionPopups;
class PanelRequests;
class QMenu;
class QScreen;
class SessionJournal;
class TabBar;
class ToolWidget;
class ZoomCommands;

// The controller of the program. In desktop mode it is hidden and only the
// toolbar floats over the desktop; in drawing mode it covers one screen, stays
// on top and shows the current page with the toolbar inside it. Every command
// ends in one of its slots, which hand it to the object doing that kind of
// work: tools, pages, modes, the tray, Preferences, help, the session.
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
    // Files handed to the program from outside (its command line, a second
    // start): each goes where its kind belongs; pictures become new pages.
    // `then` runs once the last page of them is in.
    void openFiles(const QStringList &files, const std::function<void()> &then = {});
    // Ends the program's work before the process ends without the close
    // question: settings saved, hotkeys released, desktop tools closed.
    void endWithoutQuestion();

    bool isBusy() const { return busy; }
    void setBusy(bool bBusy) { busy = bBusy; }
    DesktopToolRunner *desktopTools() const { return runner; }
    DocumentCommands *documentCommands() const { return documents; }
    DocumentFiles *documentFiles() const { return docFiles; }
    // Journals the pages from now on, after offering back those of a run
    // that did not close normally. Only the holder of the single-instance
    // lock calls it: the session file is one per user.
    void startSession() { sessions->start(); }
    SessionJournal *sessionJournal() const { return sessions->journal(); }
    OptionPopups *optionPopups() const { return popups; }
    bool isHiddenToTray() const;
    QScreen *currentScreen() const;
    MainView *view() const { return mainView; }
    MenuBar *menu() const { return menuBar; }
    ToolWidget *toolbar() const { return toolWidget; }
    MainShortcut *shortcuts() const { return mainShortcut; }
    QSystemTrayIcon *trayIcon() const;
    QMenu *trayContextMenu() const;
    DrawModeSwitch *modes() const { return modeSwitch; }
    // Where grabs wait for the desktop's picture.
    DesktopWait *desktopWait() const { return pictureWait; }
    ToolSelection *tools() const { return toolSelection; }
    ZoomCommands *zoomCommands() const { return zooms; }
    LiveZoom *liveZoom() const { return screenZoom; }
    // A native window keeps the pixel format it was made with: live desktop
    // needs one with an alpha channel.
    void giveWindowAnAlphaChannel();

Q_SIGNALS:
    void signal_UpdateLang();

public Q_SLOTS:
    void slot_AboutToQuit_SaveINI();
    void slot_ChangeDrawToolWidth(int iWidth) { toolSelection->changeWidth(iWidth); }
    void slot_ChangeDrawToolColor(QColor colour) { toolSelection->changeColour(colour); }
    void slot_ChangeDrawToolOpacity(int iOpacity) { toolSelection->changeOpacity(iOpacity); }
    void slot_ChangeNewpageColor(QColor colour);
    void slot_SelectOpPage(int iOpPage) { pages->selectOpPage(iOpPage); }
    void slot_SelectSave(int iSave) { pages->selectSave(iSave); }
    // Starts desktop tool iTools (0-7; 41-43 pick one colour for the current
    // tool, the fill or the new page).
    void slot_SelectTools(int iTools);
    void slot_New(qint8 iPress);
    void slot_New() { pages->newPage(); }
    void slot_NewFullScreenCapture() { pages->newFullScreenCapture(); }
    void slot_DuplicatePage() { pages->duplicatePage(); }
    void slot_Open() { documents->slot_Open(); }
    void slot_Save() { slot_SelectSave(1); }
    void slot_Close() { pages->closePage(); }
    void slot_CloseAll() { pages->closeAll(); }
    void slot_Exit();
    // A polite end of the process (logout, shutdown): no question; the
    // pages go to the session journal and are offered at the next start.
    void slot_Terminate() { sessions->terminate(); }
    void slot_Undo(qint8) { slot_Undo(); }
    void slot_Undo() { pages->undo(); }
    void slot_Redo(qint8) { slot_Redo(); }
    void slot_Redo() { pages->redo(); }
    void slot_ClearPage() { pages->clearPage(); }
    void slot_InsertImage() { documents->slot_InsertImage(); }
    void slot_InsertText() { documents->slot_InsertText(); }
    void slot_InsertNumber() { documents->slot_InsertNumber(); }
    void slot_InsertNumber_Inc() { documents->slot_InsertNumber_Inc(); }
    void slot_Minimize();
    void slot_MinimizeToolbar();
    void slot_PageUp(qint8) { slot_PageUp(); }
    void slot_PageUp() { pages->pageUp(); }
    void slot_PageDown(qint8) { slot_PageDown(); }
    void slot_PageDown() { pages->pageDown(); }
    void slot_BackToLastPage() { pages->backToLastPage(); }
    void slot_Browser_GotoPage(int iPage) { pages->gotoPage(iPage); }
    void slot_LiveDesktop(qint8) { slot_LiveDesktop(); }
    void slot_LiveDesktop() { modeSwitch->toggleLiveDesktop(); }
    void slot_Mouse(qint8, bool bGotoDrawMode) { toolSelection->selectMouse(bGotoDrawMode); }
    void slot_Mouse(qint8 iPress) { slot_Mouse(iPress, true); }
    void slot_Mouse() { slot_Mouse(1, true); }
    void slot_Select(qint8, bool b) { toolSelection->selectDrawTool(ToolKit::Select, b); }
    void slot_Select(qint8 iPress) { slot_Select(iPress, true); }
    void slot_Select() { slot_Select(1, true); }
    void slot_Pen(qint8, bool b) { toolSelection->selectDrawTool(ToolKit::Pen, b); }
    void slot_Pen(qint8 iPress) { slot_Pen(iPress, true); }
    void slot_Pen() { slot_Pen(1, true); }
    void slot_Highlighter(qint8, bool b) { toolSelection->selectDrawTool(ToolKit::Highlighter, b); }
    void slot_Highlighter(qint8 iPress) { slot_Highlighter(iPress, true); }
    void slot_Highlighter() { slot_Highlighter(1, true); }
    void slot_Eraser(qint8, bool b) { toolSelection->selectDrawTool(ToolKit::Eraser, b); }
    void slot_Eraser(qint8 iPress) { slot_Eraser(iPress, true); }
    void slot_Eraser() { slot_Eraser(1, true); }
    void slot_Line(qint8, bool b) { toolSelection->selectDrawTool(ToolKit::Line, b); }
    void slot_Line(qint8 iPress) { slot_Line(iPress, true); }
    void slot_Line() { slot_Line(1, true); }
    void slot_Shape(qint8, bool b) { toolSelection->selectDrawTool(ToolKit::Shape, b); }
    void slot_Shape(qint8 iPress) { slot_Shape(iPress, true); }
    void slot_Shape() { slot_Shape(1, true); }
    void slot_Text(qint8, bool b) { toolSelection->selectDrawTool(ToolKit::Text, b); }
    void slot_Text(qint8 iPress) { slot_Text(iPress, true); }
    void slot_Text() { slot_Text(1, true); }
    void slot_LaserPointer() { presenter->chooseLaserPointer(); }
    void slot_Spotlight() { presenter->chooseSpotlight(); }
    void slot_FadingInk() { presenter->toggleFadingInk(); }
    void slot_Browser(qint8) { slot_Browser(); }
    void slot_Browser() { pages->browse(); }
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
    void slot_LiveZoom();
    void slot_FocusToolbar();
    void slot_ColorPicker_HotKey() { runner->colorPickerHotKey(); }
    void slot_Help() { helpCommands->help(); }
    void slot_Feedback() { helpCommands->feedback(); }
    void slot_Updates() { helpCommands->checkForUpdates(); }
    void slot_Preferences() { preferences->showPreferences(); }
    void slot_About() { helpCommands->about(); }
    void slot_NewCapture() { modeSwitch->startCapture(); }
    void slot_CaptureDone() { modeSwitch->finishCapture(); }
    void slot_PrepareDesktopDone() { modeSwitch->setDrawMode(false); }
    void slot_PopupOpPageWidget(qint8 iPress);
    void slot_PopupOpPageWidget() { slot_PopupOpPageWidget(3); }
    void slot_PopupSaveWidget(qint8 iPress);
    void slot_PopupSaveWidget() { slot_PopupSaveWidget(3); }
    void slot_PopupToolsWidget(qint8 iPress);
    void slot_PopupToolsWidget() { slot_PopupToolsWidget(1); }
    void slot_PopupOptionWidget(qint8 iPress, bool bIsPopup);
    void slot_PopupOptionWidget(qint8 iPress) { slot_PopupOptionWidget(iPress, true); }
    void slot_PopupOptionWidget() { slot_PopupOptionWidget(1, true); }
    void slot_ScreenResized(int iScreen) { screens->screenResized(iScreen); }
    void slot_ScreenResizedTimeOut() { screens->settled(); }
    void slot_ChangeLanguage(QString strLanguage);
    void slot_OpenFromTray() { trayController->openFromTray(); }
    void slot_HideToTray() { trayController->closeToolbar(); }
    void slot_TrayIconActivated(QSystemTrayIcon::ActivationReason reason)
    {
        trayController->activated(reason);
    }

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void resizeEvent(QResizeEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void keyReleaseEvent(QKeyEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;

private:
    void openDocuments(QStringList documents, int firstOpened,
                       const std::function<void(int firstOpened)> &then);
    void openPictures(const QStringList &pictures, int firstOpened,
                      const std::function<void()> &then);
    void createMenus();
    void createToolbar();
    void connectToolbar();
    void connectPageState();
    void connectDocumentFiles();
    bool askToSaveBeforeClosing();
    void saveSettingsOrTell();

    MenuBar *menuBar = nullptr;
    TabBar *tabBar = nullptr;
    MainView *mainView = nullptr;
    ToolWidget *toolWidget = nullptr;
    MainShortcut *mainShortcut = nullptr;
    DocumentCommands *documents = nullptr;
    DesktopToolRunner *runner = nullptr;
    OptionPopups *popups = nullptr;
    DrawModeSwitch *modeSwitch = nullptr;
    DesktopWait *pictureWait = nullptr;
    ToolSelection *toolSelection = nullptr;
    PageCommands *pages = nullptr;
    TrayController *trayController = nullptr;
    ScreenWatcher *screens = nullptr;
    PreferencesFlow *preferences = nullptr;
    HelpCommands *helpCommands = nullptr;
    SessionKeeper *sessions = nullptr;
    DocumentFiles *docFiles = nullptr;
    PresenterCommands *presenter = nullptr;
    ZoomCommands *zooms = nullptr;
    LiveZoom *screenZoom = nullptr;
    std::unique_ptr<PanelRequests> panelRequests;
    bool busy = false;
    // Closing waits for the document being saved.
    bool closeWhenSaved = false;
};
