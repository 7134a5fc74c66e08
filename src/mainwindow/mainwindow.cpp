#include "mainwindow.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/qttranslations.h"
#include "app/resourcepixmap.h"
#include "app/settingsstore.h"
#include "browser/browserdlg.h"
#include "canvas/mainview.h"
#include "canvas/selecttool.h"
#include "canvas/tooldial.h"
#include "canvas/toolkit.h"
#include "desktoptoolrunner.h"
#include "dialogs/aboutdlg.h"
#include "dialogs/preferencesdlg.h"
#include "document/mainpage.h"
#include "document/sessionjournal.h"
#include "documentcommands.h"
#include "documentfiles.h"
#include "globalhotkeys.h"
#include "mainshortcut.h"
#include "menubar.h"
#include "messageboxdialog.h"
#include "platform/platform.h"
#include "sessionrecovery.h"
#include "tabbar.h"
#include "toolbar/optionpopups.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "update/updatedlg.h"
#include "windowhelpers.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDial>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWindow>

namespace {
MainWindow *s_mainWindow = nullptr;
constexpr int ScreenSettleMs = 1000;
constexpr int DesktopSwitchMs = 50;
const char *const FeedbackAddress = "https://quillbury.example/tavelmark";

// Toolbar buttons by index.
enum Button {
    UndoButton = 0,
    RedoButton = 1,
    MouseButton = 2,
    NewPageButton = 10,
    ClearPageButton = 11,
    PageUpButton = 12,
    PageDownButton = 13,
    BrowserButton = 14,
    LiveDesktopButton = 15,
    SaveButton = 16,
    MoreToolsButton = 17,
};

QString readStyleSheet(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

constexpr Qt::WindowFlags ToolbarWindowFlags
    = Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint;
} // namespace

MainWindow::MainWindow()
{
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

    setWindowTitle(MessageBoxDialog::productTitle());
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    s.screenIndex = qMax(0, QGuiApplication::screens().indexOf(QGuiApplication::primaryScreen()));
    watchScreens();
    if (QScreen *screen = currentScreen())
        setGeometry(screen->geometry());
    setWindowIcon(ResourcePixmap::icon(QStringLiteral(":/Res/Tavelmark")));

    createTrayIcon();
    createToolbar();
    connectDocumentFiles();
    QFile::remove(s.dataFolder + QStringLiteral("/TavelmarkUpdate.exe"));
    MakeToolWindow(this, false);
    hotKeys = new GlobalHotKeys(Platform::instance(), this);
    connect(hotKeys, &GlobalHotKeys::signal_HotKey, this, &MainWindow::onHotKey);
    hotKeys->RegisterHotKeys();
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
    const QList<QScreen *> screens = QGuiApplication::screens();
    const int index = AppState::instance().screenIndex;
    return (index >= 0 && index < screens.size()) ? screens.at(index)
                                                  : QGuiApplication::primaryScreen();
}

// The menu bar sits in the hidden tab bar; its actions also belong to the
// window itself so that their shortcuts answer in drawing mode.
void MainWindow::createMenus()
{
    menuBar = new MenuBar(this);
    QFont font = QApplication::font();
    if (AppState::instance().enableTouchUI)
        font.setPointSizeF(font.pointSizeF() / AppState::instance().scaleFactor2);
    menuBar->setFont(font);
    addActions(menuBar->shortcutActions());
    tabBar = new TabBar(this);
    tabBar->addWidget(menuBar);
    addToolBar(tabBar);
    addToolBarBreak();
}

void MainWindow::createTrayIcon()
{
    trayMenu = new QMenu(this);
    trayMenu->addAction(menuBar->actionOpenFromTray);
    trayMenu->addSeparator();
    trayMenu->addAction(menuBar->actionNew);
    trayMenu->addAction(menuBar->actionNewFullScreenCapture);
    trayMenu->addSeparator();
    for (QAction *action : menuBar->actionDesktopTools)
        trayMenu->addAction(action);
    trayMenu->addSeparator();
    trayMenu->addAction(menuBar->actionExit);
    trayMenu->setStyleSheet(readStyleSheet(QStringLiteral(":/Style/menu.qss")));

    tray = new QSystemTrayIcon(ResourcePixmap::icon(QStringLiteral(":/Res/TrayIcon")), this);
    tray->setContextMenu(trayMenu);
    tray->setToolTip(MessageBoxDialog::productTitle());
    connect(tray, &QSystemTrayIcon::activated, this, &MainWindow::slot_TrayIconActivated);
    tray->setVisible(AppState::instance().showTrayIcon);
}

void MainWindow::createToolbar()
{
    toolWidget = new ToolWidget(nullptr);
    toolWidget->setWindowFlags(toolWidget->windowFlags() | ToolbarWindowFlags);
    toolWidget->setMenus(menuBar->menus());
    mainShortcut = new MainShortcut(toolWidget, menuBar);
    connectToolbar();
    slot_Mouse(1, false);
    menuBar->actionFloatingDrawToolOptions->setChecked(
        AppState::instance().showFloatingOptionWidget);
    toolWidget->setFolded(AppState::instance().minimize);
    toolWidget->show();
}

void MainWindow::connectToolbar()
{
    using PressSlot = void (MainWindow::*)(qint8);
    const PressSlot pressSlots[] = {
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
    for (int i = 0; i < 18; ++i)
        connect(toolWidget->button(i), &ToolWidgetBtn::signals_Clicked, this, pressSlots[i]);
    connect(toolWidget->optionButton(), &ToolWidgetBtn::signals_Clicked, this,
            qOverload<qint8>(&MainWindow::slot_PopupOptionWidget));
    connect(popups, &OptionPopups::signal_FloatingClosed, this,
            [this] { menuBar->actionFloatingDrawToolOptions->setChecked(false); });
    for (int i : { UndoButton, RedoButton, PageUpButton, PageDownButton, SaveButton })
        toolWidget->button(i)->setEnabled(false);
    connect(toolWidget->optionButton(), &ToolWidgetBtn_Option::signal_ColourPicked, this,
            &MainWindow::slot_ChangeDrawToolColor);
    connect(toolWidget->dial(), &QDial::sliderMoved, this, &MainWindow::slot_ChangeDrawToolWidth);
    connect(toolWidget->closeButton(), &QAbstractButton::clicked, this,
            &MainWindow::slot_HideToTray);
    connect(toolWidget, &ToolWidget::signal_FilesDropped, this, [this](const QStringList &files) {
        QStringList pictures;
        for (const QString &file : files) {
            if (!DocumentFiles::isDocumentFile(file))
                pictures.append(file);
            else
                docFiles->openDocumentFile(file);
        }
        OpenImages(Lang::tr("MessageBox", QStringLiteral("Open")), pictures, false);
        Lang::release();
    });
    connect(this, &MainWindow::signal_UpdateLang, toolWidget, &ToolWidget::slot_UpdateLang);
    connect(this, &MainWindow::signal_UpdateLang, popups,
            [this] { popups->retext(toolWidget->optionButton()); });

    connect(mainView, &MainView::signal_PageCommands, this,
            [this](bool bHasPage, bool bHasPrevious, bool bHasNext) {
                menuBar->actionDuplicatePage->setEnabled(bHasPage);
                menuBar->actionSave->setEnabled(bHasPage);
                menuBar->actionBackToLastPage->setEnabled(bHasPage);
                toolWidget->button(SaveButton)->setEnabled(bHasPage);
                menuBar->actionPageUp->setEnabled(bHasPrevious);
                toolWidget->button(PageUpButton)->setEnabled(bHasPrevious);
                menuBar->actionPageDown->setEnabled(bHasNext);
                toolWidget->button(PageDownButton)->setEnabled(bHasNext);
            });
    connect(mainView, &MainView::signal_UndoCommands, this, [this](bool bCanUndo, bool bCanRedo) {
        menuBar->actionUndo->setEnabled(bCanUndo);
        toolWidget->button(UndoButton)->setEnabled(bCanUndo);
        menuBar->actionRedo->setEnabled(bCanRedo);
        toolWidget->button(RedoButton)->setEnabled(bCanRedo);
    });
}

// Geometry changes of any screen reach slot_ScreenResized with that screen's
// index; screens that come and go are watched alike.
void MainWindow::watchScreens()
{
    auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this,
                [this, screen] { slot_ScreenResized(QGuiApplication::screens().indexOf(screen)); });
    };
    knownScreens = QGuiApplication::screens();
    for (QScreen *screen : std::as_const(knownScreens))
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, [this, watch](QScreen *screen) {
        QScreen *used = knownScreens.value(AppState::instance().screenIndex);
        knownScreens = QGuiApplication::screens();
        if (used)
            AppState::instance().screenIndex = int(knownScreens.indexOf(used));
        watch(screen);
    });
    connect(qApp, &QGuiApplication::screenRemoved, this, &MainWindow::screenRemoved);
}

// A projector unplugged: drawing on its screen ends as after any change of
// the screen in use, and the toolbar comes back onto a remaining screen. The
// pages stay in the document.
void MainWindow::screenRemoved(QScreen *removed)
{
    AppState &s = AppState::instance();
    QScreen *used = knownScreens.value(s.screenIndex);
    knownScreens = QGuiApplication::screens();
    if (used && used != removed) {
        s.screenIndex = int(knownScreens.indexOf(used));
        // Over a page the toolbar lives on the page's screen; on the desktop
        // it may have been on the one that went.
        if (s.mode == 0)
            slot_ScreenResized(s.screenIndex);
        return;
    }
    s.screenIndex = qMax(0, int(knownScreens.indexOf(QGuiApplication::primaryScreen())));
    slot_ScreenResized(s.screenIndex);
}

void MainWindow::SetDrawMode(bool bDrawMode)
{
    AppState &s = AppState::instance();
    const QPoint toolbarPos = toolWidget->placedPosition();
    if (!bDrawMode) {
        s.mode = 0;
        if (journal)
            journal->writeNow();
        toolWidget->setParent(nullptr, ToolbarWindowFlags);
        toolWidget->moveGlobal(toolbarPos);
        mainShortcut->setActive(true);
        hide();
        if (!hiddenToTray)
            toolWidget->show();
        return;
    }
    if (QScreen *screen = currentScreen()) {
        if (geometry() != screen->geometry())
            setGeometry(screen->geometry());
    }
    s.mode = 1;
    mainShortcut->setActive(false);
    toolWidget->setParent(this, Qt::Widget);
    show();
    toolWidget->moveGlobal(toolbarPos);
    toolWidget->setCurrentToolButton(ToolKit::instance().currentToolId() + 2);
    toolWidget->show();
    toolWidget->raise();
    Platform::instance().setTopmost(this);
}

void MainWindow::slot_AboutToQuit_SaveINI()
{
    ToolKit::instance().storeSettings(AppState::instance().draw);
    SettingsStore::save();
}

void MainWindow::slot_Exit()
{
    close();
}

void MainWindow::slot_Terminate()
{
    if (!journal || mainView->pageCount() == 0 || !journal->writeAndWait()) {
        slot_Exit();
        return;
    }
    toolWidget->hide();
    runner->closeRulers();
    slot_AboutToQuit_SaveINI();
    hotKeys->UnregisterHotKeys();
    // quit() would close the windows first, and closing asks the question.
    QCoreApplication::exit(0);
}

void MainWindow::connectDocumentFiles()
{
    connect(docFiles, &DocumentFiles::signal_NameChanged, mainView, &MainView::setDocumentName);
    connect(docFiles, &DocumentFiles::signal_NameChanged, this, [this](const QString &strName) {
        const QString product = MessageBoxDialog::productTitle();
        setWindowTitle(strName.isEmpty() ? product : strName + QStringLiteral(" - ") + product);
    });
    connect(docFiles, &DocumentFiles::signal_DialogWanted, this, [this] {
        popups->hidePopup();
        if (ToolKit::instance().currentToolId() != ToolKit::Mouse)
            leaveDrawModeAndWait();
    });
    connect(docFiles, &DocumentFiles::signal_PagesOpened, this, [this] {
        if (AppState::instance().mode == 0) {
            RestoreDrawTool();
            SetDrawMode(true);
        }
    });
}

void MainWindow::startSession()
{
    const AppState &s = AppState::instance();
    SessionRecovery recovery(s.dataFolder);
    recovery.prepare(s.tempFolder);
    journal = new SessionJournal(
        recovery.sessionFile(), [this] { return mainView->pageList(); }, this);
    connect(mainView, &MainView::signal_PageCommands, journal, &SessionJournal::touch);
    connect(mainView, &MainView::signal_UndoCommands, journal, &SessionJournal::touch);
    connect(journal, &SessionJournal::signal_WriteFailed, this, [this] {
        auto *box = new MessageBoxDialog(
            this, QStringLiteral("The session could not be saved."),
            QStringLiteral("The disk may be full. The last saved session is kept; drawing "
                           "goes on."),
            QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
    });
    if (recovery.hasSession())
        offerSession(recovery);
}

void MainWindow::offerSession(SessionRecovery &recovery)
{
    const QList<MainPage *> pages = recovery.read();
    if (pages.isEmpty()) {
        MessageBoxDialog box(this,
                             QStringLiteral("The pages of the last session could not be read."),
                             recovery.error(), QMessageBox::Ok);
        box.exec();
        recovery.finish(false);
        return;
    }
    if (!SessionRecovery::askToRestore(this, int(pages.size()), recovery.savedAt())) {
        for (MainPage *page : pages)
            QFile::remove(MainPage::backgroundFile(page->id));
        qDeleteAll(pages);
        recovery.finish(false);
        return;
    }
    mainView->addPages(pages);
    mainView->setAllPagesModified(true);
    const bool kept = journal->writeAndWait();
    recovery.finish(kept);
    RestoreDrawTool();
    SetDrawMode(true);
}

void MainWindow::slot_LiveDesktop()
{
    AppState &s = AppState::instance();
    // A compositor may have started or stopped since the program did.
    if (!s.liveDesktop)
        s.compositionAvailable = Platform::instance().isCompositionAvailable();
    if (!s.liveDesktop && !s.compositionAvailable) {
        menuBar->actionLiveDesktop->setChecked(false);
        toolWidget->button(LiveDesktopButton)->setCurrentMark(false);
        MessageBoxDialog box(this, QStringLiteral("This feature is not available."),
                             Platform::instance().noCompositionAdvice(), QMessageBox::Ok);
        box.exec();
        return;
    }
    s.liveDesktop = !s.liveDesktop;
    menuBar->actionLiveDesktop->setChecked(s.liveDesktop);
    toolWidget->button(LiveDesktopButton)->setCurrentMark(s.liveDesktop);
    setAttribute(Qt::WA_NoSystemBackground, s.liveDesktop);
    setAttribute(Qt::WA_TranslucentBackground, s.liveDesktop);
    if (s.liveDesktop)
        giveWindowAnAlphaChannel();
    update();
    mainView->update();
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

void MainWindow::slot_NewCapture()
{
    if (busy)
        return;
    busy = true;
    toolWidget->hide();
    QTimer::singleShot(AppState::instance().captureDelay, this, &MainWindow::slot_CaptureDone);
}

void MainWindow::slot_CaptureDone()
{
    mainView->newPage();
    mainView->setBackground(mainView->grabScreen(QPoint(), false));
    SetDrawMode(true);
    busy = false;
}

void MainWindow::slot_PrepareDesktopDone()
{
    SetDrawMode(false);
}

void MainWindow::slot_ScreenResized(int iScreen)
{
    if (iScreen != AppState::instance().screenIndex || resizeTimer)
        return;
    resizeTimer = new QTimer(this);
    resizeTimer->setObjectName(QStringLiteral("resizeTimer"));
    resizeTimer->setSingleShot(true);
    connect(resizeTimer, &QTimer::timeout, this, &MainWindow::slot_ScreenResizedTimeOut);
    resizeTimer->start(ScreenSettleMs);
}

void MainWindow::slot_ScreenResizedTimeOut()
{
    if (ToolKit::instance().currentToolId() != ToolKit::Mouse)
        leaveDrawModeAndWait();
    toolWidget->moveToolbar(toolWidget->placedPosition());
    resizeTimer->deleteLater();
    resizeTimer = nullptr;
}

void MainWindow::slot_ChangeLanguage(QString strLanguage)
{
    const QString code = Lang::codeForDisplayName(strLanguage);
    if (code.isEmpty())
        return;
    AppState::instance().language = code;
    QtTranslations::apply(code);
    Q_EMIT signal_UpdateLang();
}

void MainWindow::slot_OpenFromTray()
{
    if (busy || !hiddenToTray)
        return;
    hiddenToTray = false;
    menuBar->actionOpenFromTray->setEnabled(false);
    toolWidget->show();
    toolWidget->raise();
    popups->setFloatingVisible(true);
}

void MainWindow::hideToTray()
{
    hiddenToTray = true;
    menuBar->actionOpenFromTray->setEnabled(true);
    toolWidget->hide();
    popups->setFloatingVisible(false);
}

// Without a tray icon (switched off, or no tray host running) a hidden program
// could not be reached again, so closing the toolbar ends it instead.
void MainWindow::slot_HideToTray()
{
    const AppState &s = AppState::instance();
    if (!s.showTrayIcon || !QSystemTrayIcon::isSystemTrayAvailable()) {
        close();
        return;
    }
    if (s.mode == 1 || ToolKit::instance().currentToolId() != ToolKit::Mouse) {
        leaveDrawModeAndWait();
        return;
    }
    if (!s.alertTrayIcon || askBeforeHidingToTray())
        hideToTray();
}

bool MainWindow::askBeforeHidingToTray()
{
    // Translated before the blank goes in, or the entry would never match.
    const QString how
        = Lang::single("MessageBox",
                       QStringLiteral("Click the system tray icon %1can show application again."))
              .arg(QString());
    MessageBoxDialog box(this, QStringLiteral("Hide application to the system tray."), how,
                         QMessageBox::Ok | QMessageBox::Cancel);
    auto *check = new QCheckBox(
        Lang::tr("MessageBox", QStringLiteral("Don't show this dialog again")), &box);
    Lang::release();
    check->blockSignals(true);
    box.addButton(check, QMessageBox::ResetRole);
    const int result = box.exec();
    if (check->isChecked())
        AppState::instance().alertTrayIcon = false;
    return result == QMessageBox::Ok;
}

void MainWindow::slot_TrayIconActivated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger
        || reason == QSystemTrayIcon::MiddleClick)
        slot_OpenFromTray();
}

// Folding keeps a tool window reachable; a minimised tool window has no
// taskbar entry to bring it back.
void MainWindow::slot_Minimize()
{
    if (AppState::instance().mode == 1)
        slot_Mouse(1, true);
    else
        toolWidget->slot_Minimize();
}

void MainWindow::slot_MinimizeToolbar()
{
    toolWidget->slot_Minimize();
}

void MainWindow::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (AppState::instance().liveDesktop) {
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
    ToolKit &kit = ToolKit::instance();
    if (kit.currentToolId() == ToolKit::Select && pEvent->modifiers() == Qt::ControlModifier) {
        SelectTool *select = kit.selectTool();
        switch (pEvent->key()) {
        case Qt::Key_V:
            select->pasteClipboard(mainView);
            return;
        case Qt::Key_X:
            select->cutSelection(mainView);
            return;
        case Qt::Key_C:
            select->copySelection();
            return;
        default:
            break;
        }
    }
    if (kit.currentToolId() == ToolKit::Select && pEvent->modifiers() == Qt::NoModifier
        && (pEvent->key() == Qt::Key_Delete || pEvent->key() == Qt::Key_Backspace)) {
        kit.selectTool()->deleteSelection(mainView);
        return;
    }
    if (pEvent->key() == Qt::Key_Escape && kit.currentToolId() != ToolKit::Mouse) {
        slot_Mouse(1, true);
        return;
    }
    QMainWindow::keyPressEvent(pEvent);
}

bool MainWindow::askToSaveBeforeClosing()
{
    if (!mainView->isAnyPageModified())
        return true;
    MessageBoxDialog box(this, QStringLiteral("The document has been modified."),
                         QStringLiteral("Do you want to save your changes?"),
                         QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                         QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Discard:
        return true;
    case QMessageBox::Save:
        // A cancelled or failed save keeps every page.
        return docFiles->hasDocument() ? docFiles->saveDocument() : documents->SelectSave(1);
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent *pEvent)
{
    if (!askToSaveBeforeClosing()) {
        pEvent->ignore();
        if (!hiddenToTray)
            toolWidget->show();
        return;
    }
    if (!updateInstaller.isEmpty())
        UpdateDlg::startInstaller(updateInstaller);
    toolWidget->hide();
    runner->closeRulers();
    slot_AboutToQuit_SaveINI();
    if (journal)
        journal->remove();
    SettingsStore::removeTemporaryFolder();
    hotKeys->UnregisterHotKeys();
    pEvent->accept();
    QCoreApplication::quit();
}

// Tool selection. In desktop mode a drawing tool starts on a fresh capture of
// the screen; bMustChangeDrawMode false only switches the tool.
void MainWindow::selectDrawTool(int iTool, bool bMustChangeDrawMode)
{
    ToolKit &kit = ToolKit::instance();
    if (iTool == ToolKit::Select || iTool == ToolKit::Text)
        mainView->setCursor(Qt::ArrowCursor);
    else
        SetScaledCursor(mainView, QString(), QPoint(11, 11));
    const int previous = kit.currentToolId();
    popups->hidePopup();
    toolWidget->setCurrentToolButton(iTool + 2);
    menuBar->toolAction(iTool)->setChecked(true);
    kit.setCurrentTool(iTool);
    popups->toolChanged(toolWidget->optionButton());
    if (bMustChangeDrawMode) {
        const AppState &s = AppState::instance();
        if (s.mode == 0)
            slot_NewCapture();
        else if (s.liveDesktop && previous == ToolKit::Select)
            mainView->update();
    }
    updateDial();
}

// The width dial offers the current tool's range in its colour.
void MainWindow::updateDial()
{
    const ToolDial::Setting dial = ToolDial::forTool(ToolKit::instance().currentToolId());
    toolWidget->setDial(dial.value, dial.minimum, dial.maximum);
    toolWidget->setOptionColour(dial.colour);
}

void MainWindow::slot_ChangeDrawToolWidth(int iWidth)
{
    if (ToolDial::setWidth(ToolKit::instance().currentToolId(), iWidth)) {
        updateDial();
        popups->refreshStroke();
    }
}

void MainWindow::slot_ChangeDrawToolColor(QColor colour)
{
    if (ToolDial::setColour(ToolKit::instance().currentToolId(), colour)) {
        updateDial();
        popups->refreshStroke();
    }
}

void MainWindow::slot_ChangeDrawToolOpacity(int iOpacity)
{
    ToolDial::setOpacity(ToolKit::instance().currentToolId(), iOpacity);
}

void MainWindow::slot_ChangeNewpageColor(QColor colour)
{
    AppState::instance().draw.newpageColor = colour;
    slot_New();
}

void MainWindow::slot_Mouse(qint8, bool bGotoDrawMode)
{
    ToolKit &kit = ToolKit::instance();
    const bool leaving = bGotoDrawMode && AppState::instance().mode == 1;
    if (leaving)
        toolWidget->hide();
    if (kit.isDrawingTool(kit.currentToolId()))
        kit.setLastTool(kit.currentToolId());
    SetScaledCursor(mainView, QString(), QPoint(11, 11));
    toolWidget->setCurrentToolButton(MouseButton);
    menuBar->toolAction(ToolKit::Mouse)->setChecked(true);
    popups->hidePopup();
    kit.setCurrentTool(ToolKit::Mouse);
    popups->toolChanged(toolWidget->optionButton());
    toolWidget->setDial(0, 0, 0);
    toolWidget->setOptionColour(Qt::transparent);
    if (!leaving)
        return;
    if (AppState::instance().liveDesktop)
        QTimer::singleShot(DesktopSwitchMs, this, &MainWindow::slot_PrepareDesktopDone);
    else
        slot_PrepareDesktopDone();
}

void MainWindow::RestoreDrawTool()
{
    switch (ToolKit::instance().lastToolId()) {
    case ToolKit::Select:
        return slot_Select(1, false);
    case ToolKit::Pen:
        return slot_Pen(1, false);
    case ToolKit::Highlighter:
        return slot_Highlighter(1, false);
    case ToolKit::Eraser:
        return slot_Eraser(1, false);
    case ToolKit::Line:
        return slot_Line(1, false);
    case ToolKit::Shape:
        return slot_Shape(1, false);
    case ToolKit::Text:
        return slot_Text(1, false);
    default:
        return;
    }
}

// From the desktop, page commands bring back the last drawing tool and the
// drawing window.
void MainWindow::enterDrawModeFromDesktop()
{
    if (AppState::instance().mode != 0)
        return;
    RestoreDrawTool();
    SetDrawMode(true);
}

void MainWindow::leaveDrawModeAndWait()
{
    slot_Mouse(1, true);
    waitForDesktopMode();
}

// With live desktop the switch happens on a short timer; user input waits.
void MainWindow::waitForDesktopMode()
{
    const AppState &s = AppState::instance();
    while (s.mode == 1 && !toolWidget->isVisible())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents
                                        | QEventLoop::WaitForMoreEvents);
}

bool MainWindow::confirm(const QString &strText, const QString &strInformative)
{
    MessageBoxDialog box(this, strText, strInformative, QMessageBox::Ok | QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

// Kinds 3 and 4 are the popup strip of a toolbar button.
static bool isStripPress(qint8 iPress)
{
    return iPress == 3 || iPress == 4;
}

void MainWindow::slot_New(qint8 iPress)
{
    if (busy)
        return;
    if (isStripPress(iPress))
        popups->openNewpage(toolWidget->button(NewPageButton));
    else
        slot_New();
}

// The strip opens the panel, as on the other buttons with a popup strip;
// the face clears the page.
void MainWindow::slot_PopupOpPageWidget(qint8 iPress)
{
    if (isStripPress(iPress))
        popups->openOpPage(toolWidget->button(ClearPageButton));
    else
        slot_ClearPage();
}

void MainWindow::slot_PopupSaveWidget(qint8 iPress)
{
    if (isStripPress(iPress))
        popups->openSave(toolWidget->button(SaveButton));
    else
        slot_SelectSave(1);
}

void MainWindow::slot_PopupToolsWidget(qint8 iPress)
{
    if (iPress >= 1 && iPress <= 4)
        popups->openTools(toolWidget->button(MoreToolsButton));
}

void MainWindow::slot_PopupOptionWidget(qint8 iPress, bool bIsPopup)
{
    popups->openDrawToolOptions(iPress, bIsPopup, toolWidget->optionButton());
}

void MainWindow::slot_New()
{
    if (busy)
        return;
    if (AppState::instance().mode == 0) {
        RestoreDrawTool();
        mainView->newPage();
        SetDrawMode(true);
    } else {
        mainView->newPage();
        mainView->update();
    }
}

void MainWindow::slot_NewFullScreenCapture()
{
    if (busy)
        return;
    ToolKit &kit = ToolKit::instance();
    popups->hidePopup();
    if (AppState::instance().mode == 1 && kit.currentToolId() != ToolKit::Mouse)
        leaveDrawModeAndWait();
    const int last = kit.lastToolId();
    selectDrawTool(kit.isDrawingTool(last) ? last : int(ToolKit::Pen), true);
}

void MainWindow::slot_DuplicatePage()
{
    if (busy)
        return;
    popups->hidePopup();
    const bool fromDesktop = AppState::instance().mode == 0;
    if (fromDesktop)
        RestoreDrawTool();
    mainView->duplicatePage();
    if (fromDesktop)
        SetDrawMode(true);
}

void MainWindow::slot_Close()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    if (confirm(QStringLiteral("Close current page from document."),
                QStringLiteral("Do you want to close current page?")))
        mainView->deletePage();
}

void MainWindow::slot_CloseAll()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    if (!confirm(QStringLiteral("Close all pages from document."),
                 QStringLiteral("Do you want to close all pages?")))
        return;
    leaveDrawModeAndWait();
    mainView->clearAll(false);
    docFiles->forgetDocument();
}

void MainWindow::slot_SelectTools(int iTools)
{
    popups->hidePopup();
    runner->selectTools(iTools);
}

void MainWindow::slot_ColorPicker_HotKey()
{
    runner->colorPickerHotKey();
}

void MainWindow::slot_SelectOpPage(int iOpPage)
{
    popups->hidePopup();
    if (iOpPage == 0)
        slot_Close();
    else if (iOpPage == 1)
        slot_CloseAll();
    else
        slot_ClearPage();
}

void MainWindow::slot_SelectSave(int iSave)
{
    popups->hidePopup();
    if (ToolKit::instance().currentToolId() != ToolKit::Mouse)
        leaveDrawModeAndWait();
    documents->SelectSave(iSave);
}

void MainWindow::OpenImages(const QString &strLabel, const QStringList &files,
                            bool bIntoCurrentPage)
{
    documents->OpenImages(strLabel, files, bIntoCurrentPage);
}

void MainWindow::slot_Undo()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    mainView->undo();
}

void MainWindow::slot_Redo()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    mainView->redo();
}

void MainWindow::slot_ClearPage()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    mainView->clearPage();
}

void MainWindow::slot_PageUp()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    slot_Browser_GotoPage(mainView->currentPageNumber() - 1);
}

void MainWindow::slot_PageDown()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    slot_Browser_GotoPage(mainView->currentPageNumber() + 1);
}

void MainWindow::slot_BackToLastPage()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    mainView->update();
}

void MainWindow::slot_Browser_GotoPage(int iPage)
{
    if (iPage < 1 || iPage > mainView->pageCount())
        return;
    mainView->gotoPage(iPage - 1);
    mainView->update();
}

void MainWindow::slot_Help()
{
    if (ToolKit::instance().currentToolId() != ToolKit::Mouse)
        leaveDrawModeAndWait();
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(AppState::instance().appPath + QStringLiteral("/help.pdf")));
}

void MainWindow::slot_Feedback()
{
    if (ToolKit::instance().currentToolId() != ToolKit::Mouse)
        leaveDrawModeAndWait();
    QDesktopServices::openUrl(QUrl(QLatin1String(FeedbackAddress) + QStringLiteral("/")));
}

void MainWindow::slot_Browser()
{
    if (busy)
        return;
    popups->hidePopup();
    BrowserDlg browser(mainView, this);
    connect(&browser, &BrowserDlg::signal_GotoPage, this, &MainWindow::slot_Browser_GotoPage);
    if (browser.exec() == QDialog::Accepted && mainView->pageCount() > 0)
        enterDrawModeFromDesktop();
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

void MainWindow::slot_Updates()
{
    UpdateDlg updates(this);
    if (updates.exec() != QDialog::Accepted) {
        updateInstaller.clear();
        return;
    }
    updateInstaller = updates.downloadedFile();
    close();
}

// The dialog edits the hotkeys; while it is open none of them may fire.
void MainWindow::slot_Preferences()
{
    hotKeys->UnregisterHotKeys();
    popups->deleteFloating();
    {
        PreferencesDlg preferences(this);
        connect(&preferences, &PreferencesDlg::signal_ChangeToolbarSize, toolWidget,
                &ToolWidget::slot_UpdateSize);
        preferences.exec();
    }
    hotKeys->RegisterHotKeys();
    // The panel was closed only while the toolbar could change size.
    if (AppState::instance().showFloatingOptionWidget)
        popups->openDrawToolOptions(1, false, toolWidget->optionButton());
}

void MainWindow::slot_About()
{
    AboutDlg about(this);
    about.exec();
}

void MainWindow::onHotKey(int id)
{
    switch (id) {
    case 100:
        menuBar->actionNew->activate(QAction::Trigger);
        break;
    case 200:
        menuBar->actionNewFullScreenCapture->activate(QAction::Trigger);
        break;
    case 300:
        slot_ColorPicker_HotKey();
        break;
    case 400:
        menuBar->actionBackToLastPage->activate(QAction::Trigger);
        break;
    default:
        break;
    }
}

void MainWindow::slot_Open()
{
    documents->slot_Open();
}

void MainWindow::slot_InsertImage()
{
    documents->slot_InsertImage();
}

void MainWindow::slot_InsertText()
{
    documents->slot_InsertText();
}

void MainWindow::slot_InsertNumber()
{
    documents->slot_InsertNumber();
}

void MainWindow::slot_InsertNumber_Inc()
{
    documents->slot_InsertNumber_Inc();
}

void MainWindow::slot_Select(qint8, bool b)
{
    selectDrawTool(ToolKit::Select, b);
}

void MainWindow::slot_Pen(qint8, bool b)
{
    selectDrawTool(ToolKit::Pen, b);
}

void MainWindow::slot_Highlighter(qint8, bool b)
{
    selectDrawTool(ToolKit::Highlighter, b);
}

void MainWindow::slot_Eraser(qint8, bool b)
{
    selectDrawTool(ToolKit::Eraser, b);
}

void MainWindow::slot_Line(qint8, bool b)
{
    selectDrawTool(ToolKit::Line, b);
}

void MainWindow::slot_Shape(qint8, bool b)
{
    selectDrawTool(ToolKit::Shape, b);
}

void MainWindow::slot_Text(qint8, bool b)
{
    selectDrawTool(ToolKit::Text, b);
}
