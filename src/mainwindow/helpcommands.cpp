#include "helpcommands.h"

#include "app/appstate.h"
#include "canvas/toolkit.h"
#include "dialogs/aboutdlg.h"
#include "mainwindow.h"
#include "update/updatedlg.h"

#include <QDesktopServices>
#include <QUrl>

namespace {
const char *const FeedbackAddress = "https://quillbury.example/tavelmark";
} // namespace

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
    QDesktopServices::openUrl(
        QUrl::fromLocalFile(AppState::instance().appPath + QStringLiteral("/help.pdf")));
}

void HelpCommands::feedback()
{
    leaveDrawing();
    QDesktopServices::openUrl(QUrl(QLatin1String(FeedbackAddress) + QStringLiteral("/")));
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
