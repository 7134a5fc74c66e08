#include "menubar.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "canvas/toolkit.h"
#include "documentcommands.h"
#include "documentfiles.h"
#include "mainwindow.h"
#include "shortcuttable.h"
#include "widgets/messageboxdialog.h"
#include "zoomcommands.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QMenu>

namespace {
const char *const MenuContext = "MainWindow";
} // namespace

MenuBar::MenuBar(MainWindow *pWindow)
    : QMenuBar(pWindow)
    , barFont(QApplication::font())
{
    buildFile(pWindow);
    buildEdit(pWindow);
    buildView(pWindow);
    buildTools(pWindow);
    buildHelp(pWindow);
    actionOpenFromTray = new QAction(this);
    actionOpenFromTray->setEnabled(false);
    connect(actionOpenFromTray, &QAction::triggered, pWindow, &MainWindow::slot_OpenFromTray);
    connect(pWindow, &MainWindow::signal_UpdateLang, this, &MenuBar::slot_UpdateLang);
    slot_UpdateLang();
}

QMenu *MenuBar::addTitledMenu(const QString &strTitle)
{
    QMenu *menu = addMenu(QString());
    menuTexts.append({ menu, strTitle });
    return menu;
}

template<typename Slot>
QAction *MenuBar::addEntry(QMenu *pMenu, const QString &strText, MainWindow *pWindow, Slot slot)
{
    QAction *action = pMenu->addAction(QString());
    action->setShortcuts(ShortcutTable::keysOf(strText));
    connect(action, &QAction::triggered, pWindow, slot);
    actionTexts.append({ action, strText });
    return action;
}

void MenuBar::buildFile(MainWindow *w)
{
    menuFile = addTitledMenu(QStringLiteral("File"));
    QMenu *m = menuFile;
    actionNew
        = addEntry(m, QStringLiteral("New Blank Page"), w, qOverload<>(&MainWindow::slot_New));
    actionNewFullScreenCapture = addEntry(m, QStringLiteral("New FullScreen Capture"), w,
                                          &MainWindow::slot_NewFullScreenCapture);
    actionDuplicatePage = addEntry(m, QStringLiteral("New Clone of Current Page"), w,
                                   &MainWindow::slot_DuplicatePage);
    actionDuplicatePage->setEnabled(false);
    m->addSeparator();
    actionOpen = addEntry(m, QStringLiteral("Open..."), w, &MainWindow::slot_Open);
    actionSave = addEntry(m, QStringLiteral("Save..."), w, &MainWindow::slot_Save);
    m->addSeparator();
    actionOpenDocument = addEntry(m, QStringLiteral("Open Document..."), w,
                                  [w] { w->documentFiles()->openDocument(); });
    actionSaveDocument = addEntry(m, QStringLiteral("Save Document"), w,
                                  [w] { w->documentFiles()->saveDocument(); });
    actionSaveDocumentAs = addEntry(m, QStringLiteral("Save Document As..."), w,
                                    [w] { w->documentFiles()->saveDocumentAs(); });
    actionExportAnnotatedPdf = addEntry(m, QStringLiteral("Export Annotated PDF..."), w,
                                        [w] { w->documentCommands()->ExportAnnotatedPdf(); });
    // Nothing to save before the first page.
    for (QAction *save :
         { actionSave, actionSaveDocument, actionSaveDocumentAs, actionExportAnnotatedPdf })
        save->setEnabled(false);
    m->addSeparator();
    actionClose = addEntry(m, QStringLiteral("Close Current Page"), w, &MainWindow::slot_Close);
    actionCloseAll = addEntry(m, QStringLiteral("Close All Pages"), w, &MainWindow::slot_CloseAll);
    m->addSeparator();
    actionExit = addEntry(m, QStringLiteral("Exit"), w, &MainWindow::slot_Exit);
}

void MenuBar::buildEdit(MainWindow *w)
{
    menuEdit = addTitledMenu(QStringLiteral("Edit"));
    QMenu *m = menuEdit;
    actionUndo = addEntry(m, QStringLiteral("Undo"), w, qOverload<>(&MainWindow::slot_Undo));
    actionUndo->setEnabled(false);
    actionRedo = addEntry(m, QStringLiteral("Redo"), w, qOverload<>(&MainWindow::slot_Redo));
    m->addSeparator();
    actionClearPage = addEntry(m, QStringLiteral("Clear Page"), w, &MainWindow::slot_ClearPage);
    m->addSeparator();
    actionInsertImage = addEntry(m, QStringLiteral("Insert Image to Current Page..."), w,
                                 &MainWindow::slot_InsertImage);
    actionInsertText = addEntry(m, QStringLiteral("Insert Text to Current Page..."), w,
                                &MainWindow::slot_InsertText);
    actionInsertNumber = addEntry(m, QStringLiteral("Insert Number to Current Page..."), w,
                                  &MainWindow::slot_InsertNumber);
}

void MenuBar::buildView(MainWindow *w)
{
    menuView = addTitledMenu(QStringLiteral("View"));
    QMenu *m = menuView;
    actionPageUp
        = addEntry(m, QStringLiteral("Previous Page"), w, qOverload<>(&MainWindow::slot_PageUp));
    actionPageUp->setEnabled(false);
    actionPageDown
        = addEntry(m, QStringLiteral("Next Page"), w, qOverload<>(&MainWindow::slot_PageDown));
    m->addSeparator();
    actionBackToLastPage
        = addEntry(m, QStringLiteral("Back To Last Page"), w, &MainWindow::slot_BackToLastPage);
    actionBrowser
        = addEntry(m, QStringLiteral("Page Browser..."), w, qOverload<>(&MainWindow::slot_Browser));
    buildZoom(w);
    m->addSeparator();
    actionLiveDesktop = addEntry(m, QStringLiteral("Live Desktop"), w,
                                 qOverload<>(&MainWindow::slot_LiveDesktop));
    actionLiveDesktop->setCheckable(true);
    actionFloatingDrawToolOptions
        = addEntry(m, QStringLiteral("Floating Draw Tool Options"), w,
                   qOverload<>(&MainWindow::slot_FloatingDrawToolOptions));
    actionFloatingDrawToolOptions->setCheckable(true);
}

// Disabled until there is a page to zoom.
void MenuBar::buildZoom(MainWindow *w)
{
    QMenu *m = menuView;
    m->addSeparator();
    actionZoomIn = addEntry(m, QStringLiteral("Zoom In"), w, [w] { w->zoomCommands()->zoomIn(); });
    actionZoomOut
        = addEntry(m, QStringLiteral("Zoom Out"), w, [w] { w->zoomCommands()->zoomOut(); });
    actionFitPage
        = addEntry(m, QStringLiteral("Fit Page"), w, [w] { w->zoomCommands()->fitPage(); });
    actionActualSize
        = addEntry(m, QStringLiteral("Actual Size"), w, [w] { w->zoomCommands()->actualSize(); });
    for (QAction *action : { actionZoomIn, actionZoomOut, actionFitPage, actionActualSize })
        action->setEnabled(false);
}

void MenuBar::addEntries(const MenuEntry (&entries)[8], QAction *(&actions)[8], MainWindow *w)
{
    for (int i = 0; i < 8; ++i)
        actions[i] = addEntry(menuTools, QLatin1String(entries[i].text), w, entries[i].slot);
}

void MenuBar::buildTools(MainWindow *w)
{
    menuTools = addTitledMenu(QStringLiteral("Tools"));
    static const MenuEntry tools[] = {
        { "Mouse", &MainWindow::slot_Mouse },   { "Select", &MainWindow::slot_Select },
        { "Pen", &MainWindow::slot_Pen },       { "Highlighter", &MainWindow::slot_Highlighter },
        { "Eraser", &MainWindow::slot_Eraser }, { "Line", &MainWindow::slot_Line },
        { "Shape", &MainWindow::slot_Shape },   { "Text", &MainWindow::slot_Text },
    };
    addEntries(tools, actionTools, w);
    toolGroup = new QActionGroup(this);
    toolGroup->setExclusive(true);
    for (QAction *action : actionTools) {
        action->setCheckable(true);
        toolGroup->addAction(action);
    }
    buildPresenterTools(w);
    menuTools->addSeparator();
    static const MenuEntry desktopTools[] = {
        { "Screen Capture (Rectangle)", &MainWindow::slot_ScreenCapture_Rect },
        { "Screen Capture (Freeform Shape)", &MainWindow::slot_ScreenCapture_Freeform },
        { "Screen Capture (Window)", &MainWindow::slot_ScreenCapture_Window },
        { "Screen Capture (Previous Area)", &MainWindow::slot_ScreenCapture_PreviousArea },
        { "Color Picker", &MainWindow::slot_ColorPicker },
        { "Magnifier", &MainWindow::slot_Magnifier },
        { "Ruler", &MainWindow::slot_Ruler },
        { "Protractor", &MainWindow::slot_Protractor },
    };
    addEntries(desktopTools, actionDesktopTools, w);
    actionLiveZoom
        = addEntry(menuTools, QStringLiteral("Zoom Into Screen"), w, &MainWindow::slot_LiveZoom);
    menuTools->insertAction(actionDesktopTools[6], actionLiveZoom);
    menuTools->addSeparator();
    actionFocusToolbar
        = addEntry(menuTools, QStringLiteral("Focus Toolbar"), w, &MainWindow::slot_FocusToolbar);
    // There is no previous area before the first capture.
    actionDesktopTools[3]->setEnabled(false);
}

void MenuBar::buildPresenterTools(MainWindow *w)
{
    menuTools->addSeparator();
    actionLaserPointer
        = addEntry(menuTools, QStringLiteral("Laser Pointer"), w, &MainWindow::slot_LaserPointer);
    actionSpotlight
        = addEntry(menuTools, QStringLiteral("Spotlight"), w, &MainWindow::slot_Spotlight);
    for (QAction *action : { actionLaserPointer, actionSpotlight }) {
        action->setCheckable(true);
        toolGroup->addAction(action);
    }
    actionFadingInk
        = addEntry(menuTools, QStringLiteral("Fading Ink"), w, &MainWindow::slot_FadingInk);
    actionFadingInk->setCheckable(true);
}

QAction *MenuBar::toolAction(int iTool) const
{
    if (iTool >= 0 && iTool < 8)
        return actionTools[iTool];
    if (iTool == ToolKit::Laser)
        return actionLaserPointer;
    return iTool == ToolKit::Spotlight ? actionSpotlight : nullptr;
}

void MenuBar::buildHelp(MainWindow *w)
{
    menuHelp = addTitledMenu(QStringLiteral("Help"));
    actionHelp = addEntry(menuHelp, QStringLiteral("Help"), w, &MainWindow::slot_Help);
    actionFeedback = addEntry(menuHelp, QStringLiteral("Send feedback or bug report..."), w,
                              &MainWindow::slot_Feedback);
    actionUpdates
        = addEntry(menuHelp, QStringLiteral("Check for Updates..."), w, &MainWindow::slot_Updates);
    menuHelp->addSeparator();
    actionPreferences
        = addEntry(menuHelp, QStringLiteral("Preferences..."), w, &MainWindow::slot_Preferences);
    menuHelp->addSeparator();
    // Its text is composed in slot_UpdateLang.
    actionAbout = menuHelp->addAction(QString());
    connect(actionAbout, &QAction::triggered, w, &MainWindow::slot_About);
}

QList<QMenu *> MenuBar::menus() const
{
    return { menuFile, menuEdit, menuView, menuTools, menuHelp };
}

QList<QAction *> MenuBar::shortcutActions() const
{
    QList<QAction *> actions;
    for (const auto &entry : actionTexts) {
        if (!entry.first->shortcut().isEmpty())
            actions.append(entry.first);
    }
    return actions;
}

void MenuBar::setBarFont(const QFont &font)
{
    barFont = font;
    lookStale = true;
    if (isVisible())
        applyLook();
}

void MenuBar::showEvent(QShowEvent *pEvent)
{
    if (lookStale)
        applyLook();
    QMenuBar::showEvent(pEvent);
}

void MenuBar::slot_UpdateStyle()
{
    lookStale = true;
    if (isVisible())
        applyLook();
}

void MenuBar::applyLook()
{
    lookStale = false;
    setFont(barFont);
    const AppState &s = AppState::instance();
    const QString text = s.greys[4].name();
    const QString top = s.greys[3].name();
    const QString bottom = s.greys[1].name();
    const QString items = QStringLiteral(
        "QMenuBar::item {background-color: transparent; border: 1px solid transparent; "
        "padding: 2px 6px 2px 6px; color: %1;}"
        "QMenuBar::item:selected {background-color: qlineargradient(x1:0, y1:0, x2:0, y2:1, "
        "stop:0 %2, stop:1 %3); border: 1px solid %2; color: white; border-radius: 2px;}");
    QString bar = QStringLiteral("QMenuBar {background-color: transparent;}");
    if (s.uiFont != QLatin1String("System Default"))
        bar = QStringLiteral("QMenuBar {background-color: transparent; font-family: \"%1\";}")
                  .arg(s.uiFont);
    setStyleSheet(bar + items.arg(text, top, bottom));
    setFixedWidth(sizeHint().width());
}

void MenuBar::slot_UpdateLang()
{
    Lang *lang = Lang::instance();
    const QString context = QLatin1String(MenuContext);
    for (const auto &[menu, text] : std::as_const(menuTexts))
        menu->setTitle(lang->translate(context, text));
    for (const auto &[action, text] : std::as_const(actionTexts))
        action->setText(lang->translate(context, text));
    actionOpenFromTray->setText(lang->translate(context, QStringLiteral("Open"))
                                + QStringLiteral(" ") + MessageBoxDialog::productTitle());
    actionAbout->setText(lang->translate(context, QStringLiteral("About"))
                         + QStringLiteral(" %1...").arg(MessageBoxDialog::productTitle()));
    Lang::release();
    if (isVisible())
        setFixedWidth(sizeHint().width());
    else
        lookStale = true;
}
