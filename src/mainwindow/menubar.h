#pragma once

#include <QFont>
#include <QList>
#include <QMenuBar>
#include <QString>

class MainWindow;
class QAction;
class QActionGroup;
class QMenu;

// The main window's menus. Their actions carry the shortcuts, connect to the
// main window's slots, fill the tray menu and the toolbar's menu, and are
// enabled, disabled and checked from elsewhere.
class MenuBar : public QMenuBar
{
    Q_OBJECT
public:
    explicit MenuBar(MainWindow *pWindow);

    // The font of the bar itself; its menus keep the application's.
    void setBarFont(const QFont &font);

    QList<QMenu *> menus() const;
    // Every action with a shortcut, for the window that must answer them.
    QList<QAction *> shortcutActions() const;
    // The checkable entry of tool iTool (the eight drawing tools and the
    // presenter's pointers), or null.
    QAction *toolAction(int iTool) const;
    QAction *previousAreaAction() const { return actionDesktopTools[3]; }

    QMenu *menuFile = nullptr;
    QMenu *menuEdit = nullptr;
    QMenu *menuView = nullptr;
    QMenu *menuTools = nullptr;
    QMenu *menuHelp = nullptr;

    QAction *actionNew = nullptr;
    QAction *actionNewFullScreenCapture = nullptr;
    QAction *actionDuplicatePage = nullptr;
    QAction *actionOpen = nullptr;
    QAction *actionSave = nullptr;
    QAction *actionOpenDocument = nullptr;
    QAction *actionSaveDocument = nullptr;
    QAction *actionSaveDocumentAs = nullptr;
    QAction *actionExportAnnotatedPdf = nullptr;
    QAction *actionClose = nullptr;
    QAction *actionCloseAll = nullptr;
    QAction *actionExit = nullptr;
    QAction *actionUndo = nullptr;
    QAction *actionRedo = nullptr;
    QAction *actionClearPage = nullptr;
    QAction *actionInsertImage = nullptr;
    QAction *actionInsertText = nullptr;
    QAction *actionInsertNumber = nullptr;
    QAction *actionPageUp = nullptr;
    QAction *actionPageDown = nullptr;
    QAction *actionBackToLastPage = nullptr;
    QAction *actionBrowser = nullptr;
    QAction *actionZoomIn = nullptr;
    QAction *actionZoomOut = nullptr;
    QAction *actionFitPage = nullptr;
    QAction *actionActualSize = nullptr;
    QAction *actionLiveDesktop = nullptr;
    QAction *actionFloatingDrawToolOptions = nullptr;
    QAction *actionTools[8] = {};
    QActionGroup *toolGroup = nullptr;
    QAction *actionLaserPointer = nullptr;
    QAction *actionSpotlight = nullptr;
    QAction *actionFadingInk = nullptr;
    // Screen Capture (Rectangle, Freeform Shape, Window, Previous Area), Color
    // Picker, Magnifier, Ruler, Protractor.
    QAction *actionDesktopTools[8] = {};
    // After the magnifier in the menus.
    QAction *actionLiveZoom = nullptr;
    QAction *actionFocusToolbar = nullptr;
    QAction *actionHelp = nullptr;
    QAction *actionFeedback = nullptr;
    QAction *actionUpdates = nullptr;
    QAction *actionPreferences = nullptr;
    QAction *actionAbout = nullptr;
    QAction *actionOpenFromTray = nullptr;

public Q_SLOTS:
    void slot_UpdateStyle();
    void slot_UpdateLang();

protected:
    void showEvent(QShowEvent *pEvent) override;

private:
    void applyLook();
    QMenu *addTitledMenu(const QString &strTitle);
    template<typename Slot>
    // An entry with the keys the shortcut table gives its text.
    QAction *addEntry(QMenu *pMenu, const QString &strText, MainWindow *pWindow, Slot slot);
    void buildFile(MainWindow *pWindow);
    void buildEdit(MainWindow *pWindow);
    void buildView(MainWindow *pWindow);
    void buildZoom(MainWindow *pWindow);
    // One row of the Tools menu.
    struct MenuEntry
    {
        const char *text;
        void (MainWindow::*slot)();
    };
    void addEntries(const MenuEntry (&entries)[8], QAction *(&actions)[8], MainWindow *pWindow);
    void buildTools(MainWindow *pWindow);
    void buildPresenterTools(MainWindow *pWindow);
    void buildHelp(MainWindow *pWindow);

    // English texts of menu titles and entries, re-translated on a language change.
    QList<QPair<QMenu *, QString>> menuTexts;
    QList<QPair<QAction *, QString>> actionTexts;
    // The bar lives in a hidden tab bar: its style sheet, font and width wait
    // until it is shown, which keeps a font load and a style sheet out of start-up.
    QFont barFont;
    bool lookStale = true;
};
