#include "mainwindow.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/settingsstore.h"
#include "canvas/mainview.h"
#include "canvas/selecttool.h"
#include "canvas/toolkit.h"
#include "messageboxdialog.h"
#include "platform/platform.h"
#include "tabbar.h"
#include "windowhelpers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace {
MainWindow *s_mainWindow = nullptr;
constexpr int ScreenSettleMs = 1000;
constexpr int DesktopSwitchMs = 50;

QString readStyleSheet(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}
} // namespace

MainWindow::MainWindow()
{
    AppState &s = AppState::instance();
    SettingsStore::locate();
    SettingsStore::load(logicalDpiX());
    ToolKit::instance().applySettings(s.draw);
    s_mainWindow = this;

    // The menu bar joins the tab bar here.
    tabBar = new TabBar(this);
    addToolBar(tabBar);
    addToolBarBreak();
    mainView = new MainView(this);

    setWindowTitle(MessageBoxDialog::productTitle());
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const QList<QScreen *> screens = QGuiApplication::screens();
    s.screenIndex = qMax(0, screens.indexOf(QGuiApplication::primaryScreen()));
    watchScreens();
    if (QScreen *screen = currentScreen())
        setGeometry(screen->geometry());
    setWindowIcon(QIcon(QStringLiteral(":/Res/Tavelmark")));

    createTrayIcon();

    // The floating toolbar is created here.
    slot_Mouse(1, false);
    createToolShortcuts();
    QFile::remove(s.dataFolder + QStringLiteral("/TavelmarkUpdate.exe"));
    MakeToolWindow(this, false);
}

MainWindow::~MainWindow()
{
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

void MainWindow::createTrayIcon()
{
    trayMenu = new QMenu(this);
    actionOpen = trayMenu->addAction(QString(), this, &MainWindow::slot_OpenFromTray);
    actionOpen->setEnabled(false);
    trayMenu->addSeparator();
    actionNew = trayMenu->addAction(QString(), this, &MainWindow::slot_New);
    actionCapture = trayMenu->addAction(QString(), this, &MainWindow::slot_NewFullScreenCapture);
    trayMenu->addSeparator();
    actionExit = trayMenu->addAction(QString(), this, &MainWindow::slot_Exit);
    trayMenu->setStyleSheet(readStyleSheet(QStringLiteral(":/Style/menu.qss")));
    retranslateTray();
    connect(this, &MainWindow::signal_UpdateLang, this, &MainWindow::retranslateTray);

    tray = new QSystemTrayIcon(QIcon(QStringLiteral(":/Res/TrayIcon")), this);
    tray->setContextMenu(trayMenu);
    tray->setToolTip(MessageBoxDialog::productTitle());
    connect(tray, &QSystemTrayIcon::activated, this, &MainWindow::slot_TrayIconActivated);
    tray->setVisible(AppState::instance().showTrayIcon);
}

void MainWindow::retranslateTray()
{
    Lang *lang = Lang::instance();
    const QString context = QStringLiteral("MainWindow");
    actionOpen->setText(lang->translate(context, QStringLiteral("Open")));
    actionNew->setText(lang->translate(context, QStringLiteral("New Blank Page")));
    actionCapture->setText(lang->translate(context, QStringLiteral("New FullScreen Capture")));
    actionExit->setText(lang->translate(context, QStringLiteral("Exit")));
    Lang::release();
}

// Geometry changes of any screen reach slot_ScreenResized with that screen's
// index; screens that come and go are watched alike.
void MainWindow::watchScreens()
{
    auto watch = [this](QScreen *screen) {
        connect(screen, &QScreen::geometryChanged, this,
                [this, screen] { slot_ScreenResized(QGuiApplication::screens().indexOf(screen)); });
    };
    for (QScreen *screen : QGuiApplication::screens())
        watch(screen);
    connect(qApp, &QGuiApplication::screenAdded, this, watch);
    connect(qApp, &QGuiApplication::screenRemoved, this, [this] {
        AppState &s = AppState::instance();
        if (s.screenIndex >= QGuiApplication::screens().size())
            s.screenIndex
                = qMax(0, QGuiApplication::screens().indexOf(QGuiApplication::primaryScreen()));
        slot_ScreenResized(s.screenIndex);
    });
}

void MainWindow::SetDrawMode(bool bDrawMode)
{
    AppState &s = AppState::instance();
    if (!bDrawMode) {
        s.mode = 0;
        hide();
        return;
    }
    if (QScreen *screen = currentScreen()) {
        if (geometry() != screen->geometry())
            setGeometry(screen->geometry());
    }
    s.mode = 1;
    show();
    Platform::instance().setTopmost(this);
}

void MainWindow::slot_ReceiveMessage(QString)
{
    slot_OpenFromTray();
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

void MainWindow::slot_LiveDesktop()
{
    AppState &s = AppState::instance();
    if (!s.compositionAvailable) {
        MessageBoxDialog box(
            this, QStringLiteral("This feature is not available."),
            QStringLiteral("Desktop Window Manager (DWM) composition is disabled."),
            QMessageBox::Ok);
        box.exec();
        return;
    }
    s.liveDesktop = !s.liveDesktop;
    setAttribute(Qt::WA_NoSystemBackground, s.liveDesktop);
    setAttribute(Qt::WA_TranslucentBackground, s.liveDesktop);
    update();
}

void MainWindow::slot_NewCapture()
{
    if (busy)
        return;
    busy = true;
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
    resizeTimer->setSingleShot(true);
    connect(resizeTimer, &QTimer::timeout, this, &MainWindow::slot_ScreenResizedTimeOut);
    resizeTimer->start(ScreenSettleMs);
}

void MainWindow::slot_ScreenResizedTimeOut()
{
    if (AppState::instance().mode == 1)
        SetDrawMode(false);
    resizeTimer->deleteLater();
    resizeTimer = nullptr;
}

void MainWindow::slot_ChangeLanguage(QString strLanguage)
{
    const QString code = Lang::codeForDisplayName(strLanguage);
    if (code.isEmpty())
        return;
    AppState::instance().language = code;
    Q_EMIT signal_UpdateLang();
}

void MainWindow::slot_OpenFromTray()
{
    if (busy || !hiddenToTray)
        return;
    hiddenToTray = false;
    actionOpen->setEnabled(false);
}

void MainWindow::hideToTray()
{
    hiddenToTray = true;
    actionOpen->setEnabled(true);
    if (AppState::instance().mode == 1)
        SetDrawMode(false);
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
    if (s.mode == 1) {
        SetDrawMode(false);
        return;
    }
    if (!s.alertTrayIcon || askBeforeHidingToTray())
        hideToTray();
}

bool MainWindow::askBeforeHidingToTray()
{
    MessageBoxDialog box(
        this, QStringLiteral("Hide application to the system tray."),
        QStringLiteral("Click the system tray icon %1can show application again.").arg(QString()),
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
    if (pEvent->key() == Qt::Key_Escape && kit.currentToolId() != ToolKit::Mouse) {
        slot_Mouse(1, true);
        return;
    }
    QMainWindow::keyPressEvent(pEvent);
}

void MainWindow::closeEvent(QCloseEvent *pEvent)
{
    const QString installer
        = AppState::instance().dataFolder + QStringLiteral("/TavelmarkUpdate.exe");
    if (updateRequested && QFile::exists(installer))
        QDesktopServices::openUrl(QUrl::fromLocalFile(installer));
    slot_AboutToQuit_SaveINI();
    SettingsStore::removeTemporaryFolder();
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
    kit.setCurrentTool(iTool);
    if (!bMustChangeDrawMode)
        return;
    const AppState &s = AppState::instance();
    if (s.mode == 0)
        slot_NewCapture();
    else if (s.liveDesktop && previous == ToolKit::Select)
        mainView->update();
}

void MainWindow::slot_Mouse(qint8, bool bGotoDrawMode)
{
    ToolKit &kit = ToolKit::instance();
    if (kit.isDrawingTool(kit.currentToolId()))
        kit.setLastTool(kit.currentToolId());
    SetScaledCursor(mainView, QString(), QPoint(11, 11));
    kit.setCurrentTool(ToolKit::Mouse);
    if (!bGotoDrawMode || AppState::instance().mode != 1)
        return;
    if (AppState::instance().liveDesktop)
        QTimer::singleShot(DesktopSwitchMs, this, &MainWindow::slot_PrepareDesktopDone);
    else
        slot_PrepareDesktopDone();
}

void MainWindow::slot_Mouse(qint8 iPress)
{
    slot_Mouse(iPress, true);
}

void MainWindow::slot_Mouse()
{
    slot_Mouse(1, true);
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

void MainWindow::slot_Select(qint8, bool b)
{
    selectDrawTool(ToolKit::Select, b);
}
void MainWindow::slot_Select(qint8 iPress)
{
    slot_Select(iPress, true);
}
void MainWindow::slot_Select()
{
    slot_Select(1, true);
}
void MainWindow::slot_Pen(qint8, bool b)
{
    selectDrawTool(ToolKit::Pen, b);
}
void MainWindow::slot_Pen(qint8 iPress)
{
    slot_Pen(iPress, true);
}
void MainWindow::slot_Pen()
{
    slot_Pen(1, true);
}
void MainWindow::slot_Highlighter(qint8, bool b)
{
    selectDrawTool(ToolKit::Highlighter, b);
}
void MainWindow::slot_Highlighter(qint8 iPress)
{
    slot_Highlighter(iPress, true);
}
void MainWindow::slot_Highlighter()
{
    slot_Highlighter(1, true);
}
void MainWindow::slot_Eraser(qint8, bool b)
{
    selectDrawTool(ToolKit::Eraser, b);
}
void MainWindow::slot_Eraser(qint8 iPress)
{
    slot_Eraser(iPress, true);
}
void MainWindow::slot_Eraser()
{
    slot_Eraser(1, true);
}
void MainWindow::slot_Line(qint8, bool b)
{
    selectDrawTool(ToolKit::Line, b);
}
void MainWindow::slot_Line(qint8 iPress)
{
    slot_Line(iPress, true);
}
void MainWindow::slot_Line()
{
    slot_Line(1, true);
}
void MainWindow::slot_Shape(qint8, bool b)
{
    selectDrawTool(ToolKit::Shape, b);
}
void MainWindow::slot_Shape(qint8 iPress)
{
    slot_Shape(iPress, true);
}
void MainWindow::slot_Shape()
{
    slot_Shape(1, true);
}
void MainWindow::slot_Text(qint8, bool b)
{
    selectDrawTool(ToolKit::Text, b);
}
void MainWindow::slot_Text(qint8 iPress)
{
    slot_Text(iPress, true);
}
void MainWindow::slot_Text()
{
    slot_Text(1, true);
}

// The drawing tools' shortcuts while the canvas has the keyboard.
void MainWindow::createToolShortcuts()
{
    using Slot = void (MainWindow::*)();
    const Slot toolSlots[]
        = { &MainWindow::slot_Mouse,       &MainWindow::slot_Select, &MainWindow::slot_Pen,
            &MainWindow::slot_Highlighter, &MainWindow::slot_Eraser, &MainWindow::slot_Line,
            &MainWindow::slot_Shape,       &MainWindow::slot_Text };
    for (int i = 0; i < 8; ++i) {
        auto *action = new QAction(this);
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+%1").arg(i)));
        connect(action, &QAction::triggered, this, toolSlots[i]);
        addAction(action);
    }
    const std::pair<QKeySequence, Slot> commands[] = {
        { QKeySequence::Undo, &MainWindow::slot_Undo },
        { QKeySequence(QStringLiteral("Ctrl+Y")), &MainWindow::slot_Redo },
        { QKeySequence(Qt::Key_PageUp), &MainWindow::slot_PageUp },
        { QKeySequence(Qt::Key_PageDown), &MainWindow::slot_PageDown },
        { QKeySequence(QStringLiteral("Ctrl+N")), &MainWindow::slot_New },
        { QKeySequence(QStringLiteral("Ctrl+W")), &MainWindow::slot_Close },
    };
    for (const auto &[keys, command] : commands) {
        auto *action = new QAction(this);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, command);
        addAction(action);
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

void MainWindow::waitForDesktopMode()
{
    const AppState &s = AppState::instance();
    while (s.mode == 1 && s.liveDesktop)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents
                                        | QEventLoop::WaitForMoreEvents);
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
    if (AppState::instance().mode == 1 && kit.currentToolId() != ToolKit::Mouse) {
        slot_Mouse(1, true);
        waitForDesktopMode();
    }
    const int last = kit.lastToolId();
    selectDrawTool(kit.isDrawingTool(last) ? last : int(ToolKit::Pen), true);
}

void MainWindow::slot_DuplicatePage()
{
    if (busy)
        return;
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
    MessageBoxDialog box(this, QStringLiteral("Close current page from document."),
                         QStringLiteral("Do you want to close current page?"),
                         QMessageBox::Ok | QMessageBox::Cancel);
    if (box.exec() == QMessageBox::Ok)
        mainView->deletePage();
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

void MainWindow::slot_PageUp()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    if (mainView->currentPageNumber() >= 2)
        mainView->gotoPage(mainView->currentPageNumber() - 2);
}

void MainWindow::slot_PageDown()
{
    if (mainView->pageCount() == 0)
        return;
    enterDrawModeFromDesktop();
    if (mainView->currentPageNumber() < mainView->pageCount())
        mainView->gotoPage(mainView->currentPageNumber());
}
