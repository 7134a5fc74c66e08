#include "app/appstate.h"
#include "app/mainapp.h"
#include "app/pluginscan.h"
#include "app/qttranslations.h"
#include "mainwindow/mainwindow.h"
#include "platform/platform.h"
#include "platform/terminationwatcher.h"

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillbury"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quillbury.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAV_VERSION));

    MainApp app(argc, argv);
    if (app.isRunning()) {
        app.sendMessage(QStringLiteral("%1 %2").arg(QCoreApplication::organizationName(),
                                                    QCoreApplication::applicationName()));
        return 0;
    }

    PluginScan::defer();
    AppState::instance().appPath = MainApp::applyInstallationPath(
        Platform::installationPath(), QCoreApplication::applicationDirPath());

    auto *window = new MainWindow;
    QObject::connect(&app, &MainApp::signal_MessageAvailable, window,
                     &MainWindow::slot_ReceiveMessage);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, window,
                     &MainWindow::slot_AboutToQuit_SaveINI);

    QObject::connect(app.terminationWatcher(), &TerminationWatcher::signal_Terminate, window,
                     &MainWindow::slot_Exit);

    QtTranslations::apply(AppState::instance().language);

    PluginScan::resumeLater();
    const int code = app.exec();
    delete window;
    return code;
}
