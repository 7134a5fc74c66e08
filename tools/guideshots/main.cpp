// Takes the pictures of the user guide from the program itself; run on an X
// server by scripts/screenshots.sh.
// usage: guideshots <output folder>
#include "app/appstate.h"
#include "lessonslide.h"
#include "mainwindow/mainwindow.h"
#include "shooter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScreen>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: guideshots <output folder>\n");
        return 2;
    }
    QCoreApplication::setOrganizationName(QStringLiteral("Quillbury"));
    QCoreApplication::setApplicationName(QStringLiteral("Tavelmark"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TAV_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);

    if (!LessonSlide::showOnDesktop(QGuiApplication::primaryScreen()->size(),
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
