#include "app/appstate.h"
#include "app/lang.h"
#include "app/mainapp.h"
#include "app/pluginscan.h"
#include "app/qttranslations.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/messageboxdialog.h"
#include "platform/platform.h"
#include "platform/terminationwatcher.h"

#include <QDebug>

namespace {

// What start-up had to give up, told once the window is up and without
// holding the start.
void showStartNotices(QWidget *parent)
{
    for (const QStringList &notice : AppState::instance().startNotices) {
        QString text = Lang::single("MessageBox", notice.value(0));
        for (qsizetype i = 1; i < notice.size(); ++i)
            text = text.arg(notice.at(i));
        qWarning().noquote() << text;
        auto *box = new MessageBoxDialog(parent, text, QString(), QMessageBox::Ok);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setModal(false);
        box->show();
    }
    AppState::instance().startNotices.clear();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillbury"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quillbury.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAV_VERSION));

    MainApp app(argc, argv);
    // Only an instance that really answered ends this start.
    if (app.isRunning()) {
        if (app.sendMessage(QStringLiteral("%1 %2").arg(QCoreApplication::organizationName(),
                                                        QCoreApplication::applicationName())))
            return 0;
        app.startUnprotected();
    }
    if (!app.notice().isEmpty())
        AppState::instance().startNotices.append(app.notice());

    PluginScan::defer();
    AppState::instance().appPath = MainApp::applyInstallationPath(
        Platform::installationPath(), QCoreApplication::applicationDirPath());

    auto *window = new MainWindow;
    QObject::connect(&app, &MainApp::signal_MessageAvailable, window,
                     &MainWindow::slot_ReceiveMessage);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, window,
                     &MainWindow::slot_AboutToQuit_SaveINI);

    QObject::connect(app.terminationWatcher(), &TerminationWatcher::signal_Terminate, window,
                     &MainWindow::slot_Terminate);

    QtTranslations::apply(AppState::instance().language);

    showStartNotices(window);
    // Beside another instance (no lock of our own) the session is not ours.
    if (app.notice().isEmpty())
        window->startSession();
    PluginScan::resumeLater();
    const int code = app.exec();
    delete window;
    return code;
}
