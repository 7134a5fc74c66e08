#include "mainwindow.h"

#include "accessiblefactory.h"
#include "app/appstate.h"
#include "app/lang.h"
#include "app/languageswitch.h"
#include "app/resourcepixmap.h"
#include "app/screeninuse.h"
#include "app/settingsstore.h"
#include "canvas/mainview.h"
#include "canvas/selecttool.h"
#include "canvas/toolkit.h"
#include "desktoptoolrunner.h"
#include "desktopwait.h"
#include "document/backgroundfiles.h"
#include "documentcommands.h"
#include "documentfiles.h"
#include "drawmodeswitch.h"
#include "helpcommands.h"
#include "livezoom.h"
#include "mainshortcut.h"
#include "menubar.h"
#include "pagecommands.h"
#include "panelrequests.h"
#include "platform/platform.h"
#include "preferencesflow.h"
#include "screenwatcher.h"
#include "toolbar/optionpopups.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "toolselection.h"
#include "traycontroller.h"
#include "widgets/messageboxdialog.h"
#include "widgets/tabbar.h"
#include "windowhelpers.h"
#include "zoomcommands.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDial>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace {
MainWindow *s_mainWindow = nullptr;

constexpr Qt::WindowFlags ToolbarWindowFlags
    = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;

// Kinds 3 and 4 are the popup strip of a toolbar button.
bool isStripPress(qint8 iPress)
{
    return iPress == 3 || iPress == 4;
}
} // namespace

MainWindow::MainWindow()
{
    AccessibleFactory::install();
    AppState &s = AppState::instance();
    SettingsStore::locate();
    SettingsStore::load(logicalDpiX());
    ToolKit::instance().applySettings(s.draw);
    s_mainWindow = this;

    createMenus();
    mainView = new MainView(this);
    documents = new DocumentCommands(this);
    docFiles = new DocumentFiles(mainView, this);
    runner = new DesktopToolRunner(this);
    popups = new OptionPopups(this);
    modeSwitch = new DrawModeSwitch(this);
    pictureWait = new DesktopWait(this);
    toolSelection = new ToolSelection(this);
    pages = new PageCommands(this);
    helpCommands = new HelpCommands(this);
    sessions = new SessionKeeper(this);
    presenter = new PresenterCommands(this);
    zooms = new ZoomCommands(this);
    screenZoom = new LiveZoom(this);
    panelRequests = std::make_unique<PanelRequests>(this);

    setWindowTitle(MessageBoxDialog::productTitle());
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    screens = new ScreenWatcher(this);
    if (QScreen *screen = currentScreen())
        setGeometry(screen->geometry());
    setWindowIcon(ResourcePixmap::icon(QStringLiteral(":/Res/Tavelmark")));

    trayController = new TrayController(this);
    createToolbar();
    connectDocumentFiles();
    QFile::remove(s.dataFolder + QStringLiteral("/TavelmarkUpdate.exe"));
    MakeToolWindow(this, false);
    preferences = new PreferencesFlow(this);
    connect(&LanguageSwitch::instance(), &LanguageSwitch::changed, this,
            &MainWindow::signal_UpdateLang);
}

MainWindow::~MainWindow()
{
    // In desktop mode the toolbar is a window of its own.
    if (toolWidget && toolWidget->parentWidget() != this)
        delete toolWidget;
    if (s_mainWindow == this)
        s_mainWindow = nullptr;
}

MainWindow *MainWindow::instance()
{
    return s_mainWindow;
}

QScreen *MainWindow::currentScreen() const
{
    return ScreenInUse::screen();
}

bool MainWindow::isHiddenToTray() const
{
    return trayController && trayController->isHidden();
}

QSystemTrayIcon *MainWindow::trayIcon() const
{
    return trayController->icon();
}

QMenu *MainWindow::trayContextMenu() const
{
    return trayController->menu();
}

// The menu bar sits in the hidden tab bar; its actions also belong to the
// window itself so that their shortcuts answer in drawing mode.
void MainWindow::createMenus()
{
    menuBar = new MenuBar(this);
    QFont font = QApplication::font();
    if (AppState::instance().enableTouchUI)
        font.setPointSizeF(font.pointSizeF() / AppState::instance().scaleFactor2);
    menuBar->setBarFont(font);
    addActions(menuBar->shortcutActions());
    tabBar = new TabBar(this);
    tabBar->addWidget(menuBar);
    addToolBar(tabBar);
    addToolBarBreak();
}

void MainWindow::createToolbar()
{
    toolWidget = new ToolWidget(nullptr);
    toolWidget->setWindowFlags(toolWidget->windowFlags() | ToolbarWindowFlags);
    toolWidget->setMenus(menuBar->menus());
    mainShortcut = new MainShortcut(toolWidget, menuBar);
    connectToolbar();
    connectPageState();
    slot_Mouse(1, false);
    menuBar->actionFloatingDrawToolOptions->setChecked(
        AppState::instance().showFloatingOptionWidget);
    toolWidget->setFolded(AppState::instance().minimize);
    toolWidget->show();
}

void MainWindow::connectToolbar()
{
    using PressSlot = void (MainWindow::*)(qint8);
    const PressSlot pressSlots[ToolWidget::ButtonCount] = {
        &MainWindow::slot_Undo,
        &MainWindow::slot_Redo,
        &MainWindow::slot_Mouse,
        &MainWindow::slot_Select,
        &MainWindow::slot_Pen,
        &MainWindow::slot_Highlighter,
        &MainWindow::slot_Eraser,
        &MainWindow::slot_Line,
        &MainWindow::slot_Shape,
        &MainWindow::slot_Text,
        &MainWindow::slot_New,
        &MainWindow::slot_PopupOpPageWidget,
        &MainWindow::slot_PageUp,
        &MainWindow::slot_PageDown,
        &MainWindow::slot_Browser,
        &MainWindow::slot_LiveDesktop,
        &MainWindow::slot_PopupSaveWidget,
        &MainWindow::slot_PopupToolsWidget,
    };
    for (int i = 0; i < ToolWidget::ButtonCount; ++i)
        connect(toolWidget->button(i), &ToolWidgetBtn::signals_Clicked, this, pressSlots[i]);
    connect(toolWidget->optionButton(), &ToolWidgetBtn::signals_Clicked, this,
            qOverload<qint8>(&MainWindow::slot_PopupOptionWidget));
    connect(toolWidget, &ToolWidget::signal_NextPane, popups, &OptionPopups::focusFloating);
    connect(popups, &OptionPopups::signal_FloatingClosed, this,
            [this] { menuBar->actionFloatingDrawToolOptions->setChecked(false); });
    connect(toolWidget->optionButton(), &ToolWidgetBtn_Option::signal_ColourPicked, this,
            &MainWindow::slot_ChangeDrawToolColor);
    connect(toolWidget->dial(), &QDial::sliderMoved, this, &MainWindow::slot_ChangeDrawToolWidth);
    connect(toolWidget->closeButton(), &QAbstractButton::clicked, this,
            &MainWindow::slot_HideToTray);
    connect(toolWidget, &ToolWidget::signal_FilesDropped, this, [this](const QStringList &files) {
        openFiles(files);
        Lang::release();
    });
    connect(toolWidget, &ToolWidget::signal_ScreenChosen, screens, &ScreenWatcher::useScreen);
    connect(this, &MainWindow::signal_UpdateLang, toolWidget, &ToolWidget::slot_UpdateLang);
    connect(this, &MainWindow::signal_UpdateLang, popups,
            [this] { popups->retext(toolWidget->optionButton()); });
}

// Page and undo commands are offered only while they can do something.
void MainWindow::connectPageState()
{
    for (int i : { ToolWidget::Undo, ToolWidget::Redo, ToolWidget::PageUp, ToolWidget::PageDown,
                   ToolWidget::Save })
        toolWidget->button(i)->setEnabled(false);
    connect(mainView, &MainView::signal_PageCommands, this,
            [this](bool bHasPage, bool bHasPrevious, bool bHasNext) {
                menuBar->actionDuplicatePage->setEnabled(bHasPage);
                menuBar->actionSave->setEnabled(bHasPage);
                menuBar->actionSaveDocument->setEnabled(bHasPage);
                menuBar->actionSaveDocumentAs->setEnabled(bHasPage);
                menuBar->actionExportAnnotatedPdf->setEnabled(bHasPage);
                menuBar->actionBackToLastPage->setEnabled(bHasPage);
                toolWidget->button(ToolWidget::Save)->setEnabled(bHasPage);
                menuBar->actionPageUp->setEnabled(bHasPrevious);
                toolWidget->button(ToolWidget::PageUp)->setEnabled(bHasPrevious);
                menuBar->actionPageDown->setEnabled(bHasNext);
                toolWidget->button(ToolWidget::PageDown)->setEnabled(bHasNext);
            });
    connect(mainView, &MainView::signal_UndoCommands, this, [this](bool bCanUndo, bool bCanRedo) {
        menuBar->actionUndo->setEnabled(bCanUndo);
        toolWidget->button(ToolWidget::Undo)->setEnabled(bCanUndo);
        menuBar->actionRedo->setEnabled(bCanRedo);
        toolWidget->button(ToolWidget::Redo)->setEnabled(bCanRedo);
    });
}

void MainWindow::SetDrawMode(bool bDrawMode)
{
    modeSwitch->setDrawMode(bDrawMode);
}

// A native window keeps the pixel format it was made with: one made opaque
// (a page drawn before, or the start-up) would show black or grey where the
// desktop should show through, so it is made anew.
void MainWindow::giveWindowAnAlphaChannel()
{
    if (!windowHandle() || windowHandle()->format().hasAlpha())
        return;
    const bool shown = isVisible();
    destroy();
    create();
    MakeToolWindow(this, false);
    if (shown) {
        show();
        Platform::instance().setTopmost(this);
    }
}

void MainWindow::RestoreDrawTool()
{
    toolSelection->restoreDrawTool();
}

void MainWindow::openFiles(const QStringList &files, const std::function<void()> &then)
{
    QStringList documents, pictures;
    for (const QString &file : files) {
        const bool pages = DocumentFiles::isDocumentFile(file) || DocumentFiles::isPdfFile(file);
        (pages ? documents : pictures).append(file);
    }
    openDocuments(documents, 0, [this, pictures, then](int firstOpened) {
        openPictures(pictures, firstOpened, then);
    });
}

// One after another, each with all its pages in before the next starts.
void MainWindow::openDocuments(QStringList documents, int firstOpened,
                               const std::function<void(int firstOpened)> &then)
{
    if (documents.isEmpty()) {
        then(firstOpened);
        return;
    }
    const QString next = documents.takeFirst();
    docFiles->openDocumentFile(next, [this, documents, firstOpened, then](int first) {
        openDocuments(documents, firstOpened > 0 ? firstOpened : first, then);
    });
}

void MainWindow::openPictures(const QStringList &pictures, int firstOpened,
                              const std::function<void()> &then)
{
    if (pictures.isEmpty()) {
        if (then)
            then();
        return;
    }
    // Pictures follow the documents' pages, and the first document still
    // opens at its first page.
    if (firstOpened > 0)
        mainView->document().gotoPage(mainView->document().pageCount() - 1);
    documents->OpenImages(Lang::tr("MessageBox", QStringLiteral("Open")), pictures, false,
                          [this, firstOpened, then] {
                              if (firstOpened > 0)
                                  mainView->document().gotoPage(firstOpened - 1);
                              if (then)
                                  then();
                          });
}

// The document's name shows in the title; its dialogs need the desktop.
void MainWindow::connectDocumentFiles()
{
    connect(docFiles, &DocumentFiles::signal_NameChanged, this, [this](const QString &strName) {
        const QString product = MessageBoxDialog::productTitle();
        setWindowTitle(strName.isEmpty() ? product : strName + QStringLiteral(" - ") + product);
    });
    connect(docFiles, &DocumentFiles::signal_DialogWanted, this, [this] {
        popups->hidePopup();
        if (ToolKit::instance().currentToolId() != ToolKit::Mouse)
            modeSwitch->leaveNow();
    });
    connect(docFiles, &DocumentFiles::signal_PagesOpened, this,
            [this] { modeSwitch->enterFromDesktop(); });
    // Closing waited for the saves; a failed one keeps the program.
    connect(docFiles, &DocumentFiles::signal_Saved, this, [this](bool bWritten) {
        if (!closeWhenSaved || docFiles->isSaving())
            return;
        closeWhenSaved = false;
        if (bWritten)
            close();
    });
}

void MainWindow::slot_AboutToQuit_SaveINI()
{
    ToolKit::instance().storeSettings(AppState::instance().draw);
    SettingsStore::save();
}

void MainWindow::slot_ChangeLanguage(QString strLanguage)
{
    LanguageSwitch::instance().choose(strLanguage);
}

// Folding keeps a tool window reachable; a minimised tool window has no
// taskbar entry to bring it back.
void MainWindow::slot_Minimize()
{
    if (modeSwitch->isDrawMode())
        slot_Mouse(1, true);
    else
        toolWidget->slot_Minimize();
}

void MainWindow::slot_MinimizeToolbar()
{
    toolWidget->slot_Minimize();
}

void MainWindow::slot_FloatingDrawToolOptions()
{
    AppState &s = AppState::instance();
    s.showFloatingOptionWidget = !s.showFloatingOptionWidget;
    menuBar->actionFloatingDrawToolOptions->setChecked(s.showFloatingOptionWidget);
    if (s.showFloatingOptionWidget)
        popups->openDrawToolOptions(1, false, toolWidget->optionButton());
    else
        popups->deleteFloating();
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (modeSwitch->isLiveDesktop()) {
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(rect(), Qt::transparent);
        return;
    }
    painter.fillRect(rect(), AppState::instance().greys[2]);
}

void MainWindow::resizeEvent(QResizeEvent *pEvent)
{
    mainView->fitToWindow(size());
    QMainWindow::resizeEvent(pEvent);
}

void MainWindow::keyPressEvent(QKeyEvent *pEvent)
{
    if (mainView->panKey(pEvent))
        return;
    ToolKit &kit = ToolKit::instance();
    const bool selecting = kit.currentToolId() == ToolKit::Select;
    if (selecting && pEvent->modifiers() == Qt::ControlModifier) {
        SelectTool *select = kit.selectTool();
        switch (pEvent->key()) {
        case Qt::Key_V:
            return select->pasteClipboard(mainView);
        case Qt::Key_X:
            return select->cutSelection(mainView);
        case Qt::Key_C:
            return select->copySelection();
        default:
            break;
        }
    }
    if (selecting && pEvent->modifiers() == Qt::NoModifier
        && (pEvent->key() == Qt::Key_Delete || pEvent->key() == Qt::Key_Backspace))
        return kit.selectTool()->deleteSelection(mainView);
    if (pEvent->key() == Qt::Key_Escape && screenZoom->isActive())
        return screenZoom->end();
    if (pEvent->key() == Qt::Key_Escape && kit.currentToolId() != ToolKit::Mouse)
        return slot_Mouse(1, true);
    QMainWindow::keyPressEvent(pEvent);
}

void MainWindow::keyReleaseEvent(QKeyEvent *pEvent)
{
    if (!mainView->panKey(pEvent))
        QMainWindow::keyReleaseEvent(pEvent);
}

bool MainWindow::askToSaveBeforeClosing()
{
    if (!mainView->document().isModified())
        return true;
    MessageBoxDialog box(this, QStringLiteral("The document has been modified."),
                         QStringLiteral("Do you want to save your changes?"),
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                         QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Discard:
        return true;
    case QMessageBox::Save:
        // Only the document keeps every page editable; an unnamed one asks
        // for its name. The window closes once the file is written; a
        // cancelled or failed save keeps every page.
        closeWhenSaved = true;
        docFiles->saveDocument();
        return false;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent *pEvent)
{
    // A save under way ends first; the question follows if changes are left.
    if (docFiles->isSaving())
        closeWhenSaved = true;
    if (closeWhenSaved || !askToSaveBeforeClosing()) {
        pEvent->ignore();
        if (!isHiddenToTray())
            toolWidget->show();
        return;
    }
    helpCommands->startDownloadedUpdate();
    endWithoutQuestion();
    sessions->closeNormally();
    BackgroundFiles::instance().finish();
    SettingsStore::removeTemporaryFolder();
    pEvent->accept();
    QCoreApplication::quit();
}

void MainWindow::endWithoutQuestion()
{
    toolWidget->hide();
    runner->closeRulers();
    saveSettingsOrTell();
    preferences->releaseHotKeys();
}

// Settings that could not be written are told once, with where they belong;
// a logout is never held by a question, so then they are only logged.
void MainWindow::saveSettingsOrTell()
{
    ToolKit::instance().storeSettings(AppState::instance().draw);
    AppState &s = AppState::instance();
    if (SettingsStore::save() || s.unsavedSettingsTold || sessions->isEnding())
        return;
    s.unsavedSettingsTold = true;
    MessageBoxDialog box(
        this, QStringLiteral("Your settings could not be saved."),
        Lang::single("MessageBox",
                     QStringLiteral("The changes made since Tavelmark started could not be "
                                    "written to %1; the folder may be write-protected or the "
                                    "disk full."))
            .arg(QDir::toNativeSeparators(s.iniPath)),
        QMessageBox::Ok);
    box.exec();
}

// The slots below hand each command to the object that does its kind of work.

void MainWindow::slot_Exit()
{
    close();
}
void MainWindow::slot_ChangeNewpageColor(QColor colour)
{
    AppState::instance().draw.newpageColor = colour;
    slot_New();
}
void MainWindow::slot_LiveZoom()
{
    popups->hidePopup();
    screenZoom->toggle();
}
// On the desktop the toolbar is a window of its own, which the window manager
// must first hand the keyboard.
void MainWindow::slot_FocusToolbar()
{
    popups->hidePopup();
    slot_OpenFromTray();
    toolWidget->show();
    toolWidget->raise();
    Platform::instance().activate(toolWidget->isWindow() ? static_cast<QWidget *>(toolWidget)
                                                         : this);
    toolWidget->focusKeyboard();
}
void MainWindow::slot_SelectTools(int iTools)
{
    popups->hidePopup();
    runner->selectTools(iTools);
}
// The strip of a toolbar button opens its panel; the face runs its command.
void MainWindow::slot_New(qint8 iPress)
{
    if (busy)
        return;
    if (isStripPress(iPress))
        popups->openNewpage(toolWidget->button(ToolWidget::NewPage));
    else
        slot_New();
}

void MainWindow::slot_PopupOpPageWidget(qint8 iPress)
{
    if (isStripPress(iPress))
        popups->openOpPage(toolWidget->button(ToolWidget::ClearPage));
    else
        slot_ClearPage();
}

void MainWindow::slot_PopupSaveWidget(qint8 iPress)
{
    if (isStripPress(iPress))
        popups->openSave(toolWidget->button(ToolWidget::Save));
    else
        slot_SelectSave(1);
}

void MainWindow::slot_PopupToolsWidget(qint8 iPress)
{
    if (iPress >= 1 && iPress <= 4)
        popups->openTools(toolWidget->button(ToolWidget::Tools));
}

void MainWindow::slot_PopupOptionWidget(qint8 iPress, bool bIsPopup)
{
    popups->openDrawToolOptions(iPress, bIsPopup, toolWidget->optionButton());
}
