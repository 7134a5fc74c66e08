// Takes the pictures of the user guide from the program itself, with its
// interface in one language, as a fresh user would see it; run on an X server
// by scripts/screenshots.sh and the test suite.
// usage: guideshots <language> <output folder>
#include "app/appstate.h"
#include "lessonslide.h"
#include "mainwindow/mainwindow.h"
#include "shooter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: guideshots <language> <output folder>\n");
        return 2;
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Quillbury"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAV_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    const QString folder = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(folder);
    // A fresh user: default settings in the given language, no tray icon.
    const QByteArray language
        = qstrcmp(argv[1], "en") == 0 ? QByteArray("en_GB") : QByteArray(argv[1]);
    QTemporaryDir home;
    const QString data = home.filePath(QStringLiteral("Quillbury/Tavelmark"));
    QFile settings(data + QStringLiteral("/Setting.ini"));
    if (!home.isValid() || !QDir().mkpath(data) || !settings.open(QIODevice::WriteOnly)
        || settings.write("[UserInterface]\nLanguage=" + language + "\nShowTrayIcon=0\n") <= 0)
        return 1;
    settings.close();
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());

    if (!LessonSlide::showOnDesktop(QGuiApplication::primaryScreen()->size(),
                                    QString::fromLatin1(language),
                                    QDir(folder).filePath(QStringLiteral(".slide.png"))))
        return 1;
    QFile::remove(QDir(folder).filePath(QStringLiteral(".slide.png")));
    AppState::instance().appPath = QCoreApplication::applicationDirPath();
    MainWindow window;
    Shooter shooter(window, folder);
    const bool ok = shooter.run();
    std::printf("guideshots: %s\n", ok ? "all pictures taken" : "some pictures are missing");
    return ok ? 0 : 1;
}
