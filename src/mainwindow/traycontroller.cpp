#include "traycontroller.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/resourcepixmap.h"
#include "canvas/toolkit.h"
#include "mainwindow.h"
#include "menubar.h"
#include "toolbar/optionpopups.h"
#include "toolbar/toolwidget.h"
#include "widgets/messageboxdialog.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QMenu>

namespace {

QString readStyleSheet(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

} // namespace

TrayController::TrayController(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
    MenuBar *menuBar = window->menu();
    trayMenu = new QMenu(window);
    trayMenu->addAction(menuBar->actionOpenFromTray);
    trayMenu->addSeparator();
    trayMenu->addAction(menuBar->actionNew);
    trayMenu->addAction(menuBar->actionNewFullScreenCapture);
    trayMenu->addSeparator();
    for (QAction *action : menuBar->actionDesktopTools) {
        trayMenu->addAction(action);
        if (action == menuBar->actionDesktopTools[5])
            trayMenu->addAction(menuBar->actionLiveZoom);
    }
    trayMenu->addAction(menuBar->actionFocusToolbar);
    trayMenu->addSeparator();
    for (QAction *action :
         { menuBar->actionLaserPointer, menuBar->actionSpotlight, menuBar->actionFadingInk })
        trayMenu->addAction(action);
    trayMenu->addSeparator();
    trayMenu->addAction(menuBar->actionExit);
    trayMenu->setStyleSheet(readStyleSheet(QStringLiteral(":/Style/menu.qss")));

    tray = new QSystemTrayIcon(ResourcePixmap::icon(QStringLiteral(":/Res/TrayIcon")), window);
    tray->setContextMenu(trayMenu);
    tray->setToolTip(MessageBoxDialog::productTitle());
    connect(tray, &QSystemTrayIcon::activated, window, &MainWindow::slot_TrayIconActivated);
    tray->setVisible(AppState::instance().showTrayIcon);
}

void TrayController::openFromTray()
{
    if (window->isBusy() || !hidden)
        return;
    hidden = false;
    window->menu()->actionOpenFromTray->setEnabled(false);
    window->toolbar()->show();
    window->toolbar()->raise();
    window->optionPopups()->setFloatingVisible(true);
}

void TrayController::hideToTray()
{
    hidden = true;
    window->menu()->actionOpenFromTray->setEnabled(true);
    window->toolbar()->hide();
    window->optionPopups()->setFloatingVisible(false);
}

// Without a tray icon (switched off, or no tray host running) a hidden program
// could not be reached again, so closing the toolbar ends it instead.
void TrayController::closeToolbar()
{
    const AppState &s = AppState::instance();
    if (!s.showTrayIcon || !QSystemTrayIcon::isSystemTrayAvailable()) {
        window->close();
        return;
    }
    if (window->modes()->isDrawMode() || ToolKit::instance().currentToolId() != ToolKit::Mouse) {
        window->slot_Mouse(1, true);
        return;
    }
    if (!s.alertTrayIcon || askBeforeHiding())
        hideToTray();
}

bool TrayController::askBeforeHiding()
{
    // Translated before the blank goes in, or the entry would never match.
    const QString how
        = Lang::single("MessageBox",
                       QStringLiteral("Click the system tray icon %1can show application again."))
              .arg(QString());
    MessageBoxDialog box(window, QStringLiteral("Hide application to the system tray."), how,
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

void TrayController::activated(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::DoubleClick || reason == QSystemTrayIcon::Trigger
        || reason == QSystemTrayIcon::MiddleClick)
        openFromTray();
}
