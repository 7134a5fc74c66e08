#include "app/appstate.h"
#include "app/commandline.h"
#include "app/lang.h"
#include "app/mainapp.h"
#include "app/pluginscan.h"
#include "app/qttranslations.h"
#include "mainwindow/actiondispatcher.h"
#include "mainwindow/mainwindow.h"
#include "platform/platform.h"
#include "platform/terminationwatcher.h"
#include "platform/waylandsession.h"
#include "widgets/messageboxdialog.h"

#include <QDebug>
#include <QDir>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <memory>
#include <utility>

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

// A window manager that puts the window mapped last on top (sway) covers a
// message with a page mapped just after it, and gives the page the focus:
// then the message is mapped once more, above the page.
void keepAbovePage(QWidget *box, QWidget *page)
{
    const auto once = std::make_shared<QMetaObject::Connection>();
    *once = QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, box,
                             [box, page, once](QWindow *focus) {
                                 if (!focus || focus != page->windowHandle())
                                     return;
                                 QObject::disconnect(*once);
                                 box->hide();
                                 box->show();
                             });
}

// A refused grab is told at once, but one box at a time: every screen of a
// capture may be refused together.
void showGrabRefusals(QWidget *parent)
{
    const auto shown = std::make_shared<QPointer<MessageBoxDialog>>();
    QObject::connect(&Platform::instance().grabNotices(), &GrabNotices::signal_Refused, parent,
                     [parent, shown](const QString &strWhy) {
                         qWarning().noquote() << "Screen grab refused:" << strWhy;
                         if (*shown)
                             return;
                         const QString text = Lang::single(
                             "MessageBox", QStringLiteral("Tavelmark cannot see the screen."));
                         *shown = new MessageBoxDialog(
                             parent, text, Lang::single("MessageBox", strWhy), QMessageBox::Ok);
                         (*shown)->setAttribute(Qt::WA_DeleteOnClose);
                         (*shown)->setModal(false);
                         (*shown)->show();
                         keepAbovePage(*shown, parent);
                     });
}

// Help, version and refused arguments end the start here, before the lock.
bool answeredOnTheSpot(const CommandLine &line, int *pCode)
{
    const QByteArray text = line.text().toLocal8Bit();
    Lang::release();
    switch (line.outcome()) {
    case CommandLine::Outcome::Run:
        return false;
    case CommandLine::Outcome::Error:
        std::fprintf(stderr, "%s\n", text.constData());
        *pCode = CommandLine::UsageError;
        return true;
    default:
        std::fputs(text.constData(), stdout);
        *pCode = 0;
        return true;
    }
}

// Without an X display the toolkit would abort with advice that does not
// help; said in the desktop's language, like the command line's answers.
QString missingDisplay()
{
    if (!WaylandSession::lacksXWayland())
        return {};
    const QString display = qEnvironmentVariable("DISPLAY");
    return Lang::single("CommandLine",
                        QStringLiteral("Tavelmark runs on Wayland through XWayland, but no X "
                                       "display answers (DISPLAY=%1). Enable XWayland in the "
                                       "compositor (sway: \"xwayland enable\") or install the "
                                       "xwayland package, then start Tavelmark again."))
        .arg(display);
}

QStringList arguments(int argc, char *argv[])
{
    QStringList list;
    for (int i = 0; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication::setOrganizationName(QStringLiteral("Quillbury"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("quillbury.example"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAV_VERSION));

    // The settings are not read yet: the command line speaks the desktop's language.
    const QString language
        = std::exchange(AppState::instance().language, Lang::codeForLocale(QLocale::system()));
    const CommandLine line = CommandLine::parse(arguments(argc, argv), QDir::currentPath());
    const QString noDisplay = missingDisplay();
    AppState::instance().language = language;
    int code = 0;
    if (answeredOnTheSpot(line, &code))
        return code;
    if (!noDisplay.isEmpty()) {
        std::fprintf(stderr, "%s\n", noDisplay.toLocal8Bit().constData());
        return 1;
    }
    WaylandSession::preferXWayland();
    // The menu bar stays hidden in its tab bar; a desktop-wide menu would show it.
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);

    MainApp app(argc, argv);
    // Only an instance that really answered ends this start.
    if (app.isRunning()) {
        if (app.sendMessage(line.request()))
            return 0;
        app.startUnprotected();
    }
    if (!app.notice().isEmpty())
        AppState::instance().startNotices.append(app.notice());

    PluginScan::defer();
    AppState::instance().appPath = MainApp::applyInstallationPath(
        Platform::installationPath(), QCoreApplication::applicationDirPath());

    auto *window = new MainWindow;
    auto *dispatcher = new ActionDispatcher(window);
    QObject::connect(&app, &MainApp::signal_MessageAvailable, dispatcher,
                     &ActionDispatcher::slot_Handle);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, window,
                     &MainWindow::slot_AboutToQuit_SaveINI);

    QObject::connect(app.terminationWatcher(), &TerminationWatcher::signal_Terminate, window,
                     &MainWindow::slot_Terminate);

    QtTranslations::apply(AppState::instance().language);

    showStartNotices(window);
    showGrabRefusals(window);
    // The pictures of the last session and the files of the command line may
    // be of any format: they are read once the plugins are back. The session
    // comes first: it moves the last run's pictures out of the way of the
    // pages this run opens. Beside another instance (no lock of our own) the
    // session is not ours. Both start from the event loop, so that a logout
    // while a question is open ends the process instead of a loop that has
    // not started.
    const bool ownSession = app.notice().isEmpty();
    PluginScan::resumeLater(window, [window, dispatcher, line, ownSession] {
        if (ownSession)
            window->startSession();
        if (!line.request().isEmpty())
            dispatcher->slot_Handle(line.request());
    });
    code = app.exec();
    delete window;
    // A portal request still listening on the session bus must go while the
    // bus does: at exit the bus would wait for it forever.
    Platform::reset();
    return code;
}
