#include "helpcommands.h"

#include "app/appstate.h"
#include "app/installationsettings.h"
#include "dialogs/aboutdlg.h"
#include "drawmodeswitch.h"
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

void HelpCommands::help()
{
    window->modes()->whenOnDesktop([this] {
        HelpOpener::open(window, AppState::instance().appPath, AppState::instance().language);
    });
}

void HelpCommands::feedback()
{
    window->modes()->whenOnDesktop([] {
        QDesktopServices::openUrl(
            InstallationSettings::feedbackTarget(InstallationSettings::feedbackAddress()));
    });
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
