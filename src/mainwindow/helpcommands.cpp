#include "helpcommands.h"

#include "app/appstate.h"
#include "app/installationsettings.h"
#include "canvas/toolkit.h"
#include "dialogs/aboutdlg.h"
#include "helpopener.h"
#include "mainwindow.h"
#include "update/updatedlg.h"

#include <QDesktopServices>
#include <QUrl>

HelpCommands::HelpCommands(MainWindow *pWindow)
    : QObject(pWindow)
    , window(pWindow)
{
}

void HelpCommands::leaveDrawing()
{
    if (ToolKit::instance().currentToolId() != ToolKit::Mouse)
        window->leaveDrawModeAndWait();
}

void HelpCommands::help()
{
    leaveDrawing();
    HelpOpener::open(window, AppState::instance().appPath, AppState::instance().language);
}

void HelpCommands::feedback()
{
    leaveDrawing();
    QDesktopServices::openUrl(
        InstallationSettings::feedbackTarget(InstallationSettings::feedbackAddress()));
}

void HelpCommands::checkForUpdates()
{
    UpdateDlg updates(window);
    if (updates.exec() != QDialog::Accepted) {
        updateInstaller.clear();
        return;
    }
    updateInstaller = updates.downloadedFile();
    window->close();
}

void HelpCommands::about()
{
    AboutDlg about(window);
    about.exec();
}

void HelpCommands::startDownloadedUpdate()
{
    if (!updateInstaller.isEmpty())
        UpdateDlg::startInstaller(updateInstaller);
}
