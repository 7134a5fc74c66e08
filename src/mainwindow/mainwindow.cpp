#include "mainwindow.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/settingsstore.h"
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
    s_mainWindow = this;

    // The menu bar and the canvas take their places here.
    tabBar = new TabBar(this);
    addToolBar(tabBar);
    addToolBarBreak();

    setWindowTitle(MessageBoxDialog::productTitle());
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const QList<QScreen *> screens = QGuiApplication::screens();
    s.screenIndex = qMax(0, screens.indexOf(QGuiApplication::primaryScreen()));
    watchScreens();
    if (QScreen *screen = currentScreen())
        setGeometry(screen->geometry());
    setWindowIcon(QIcon(QStringLiteral(":/Res/Tavelmark")));

    createTrayIcon();

    // The floating toolbar is created here and takes the Mouse tool.
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
    actionCapture = trayMenu->addAction(QString(), this, &MainWindow::slot_NewCapture);
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
    capture = grabScreen();
    SetDrawMode(true);
    update();
    busy = false;
}

void MainWindow::slot_PrepareDesktopDone()
{
    SetDrawMode(false);
}

QPixmap MainWindow::grabScreen() const
{
    QScreen *screen = currentScreen();
    return screen ? screen->grabWindow(0) : QPixmap();
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
    if (!capture.isNull())
        painter.drawPixmap(rect(), capture);
}

void MainWindow::keyPressEvent(QKeyEvent *pEvent)
{
    if (pEvent->key() == Qt::Key_Escape && AppState::instance().mode == 1) {
        SetDrawMode(false);
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
