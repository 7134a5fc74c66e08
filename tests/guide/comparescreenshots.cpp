// Compares the guide's pictures taken again by the test suite with the
// committed ones, language by language; writes a diff picture for each one
// that differs.
// usage: comparescreenshots <committed folder> <fresh folder> <diff folder>
#include "screenshotcompare.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSet>

#include <cstdio>

namespace {

QSet<QString> pictures(const QString &strRoot)
{
    QSet<QString> names;
    QDirIterator it(strRoot, { QStringLiteral("*.png") }, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        names.insert(QDir(strRoot).relativeFilePath(it.next()));
    return names;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: comparescreenshots <committed> <fresh> <diff folder>\n");
        return 2;
    }
    const QDir committed(QString::fromLocal8Bit(argv[1]));
    const QDir fresh(QString::fromLocal8Bit(argv[2]));
    const QDir diffs(QString::fromLocal8Bit(argv[3]));
    const QSet<QString> kept = pictures(committed.path());
    const QSet<QString> taken = pictures(fresh.path());
    int failures = 0;
    for (const QString &name : kept - taken) {
        std::printf("%s: committed, but no longer taken\n", qPrintable(name));
        ++failures;
    }
    for (const QString &name : taken - kept) {
        std::printf("%s: taken, but not committed\n", qPrintable(name));
        ++failures;
    }
    QStringList common = QList<QString>((kept & taken).begin(), (kept & taken).end());
    common.sort();
    for (const QString &name : std::as_const(common)) {
        const ScreenshotCompare result(QImage(committed.filePath(name)),
                                       QImage(fresh.filePath(name)));
        std::printf("%s: %d blocks differ, %d may\n", qPrintable(name), result.differingBlocks(),
                    result.budget());
        if (result.matches())
            continue;
        ++failures;
        const QString diff = diffs.filePath(name);
        QDir().mkpath(QFileInfo(diff).path());
        result.diffImage().save(diff, "PNG");
        std::printf("  differs: %s; see %s\n", qPrintable(result.reason()), qPrintable(diff));
    }
    if (failures > 0)
        std::printf("The guide's pictures no longer show the program: take them again with "
                    "bash scripts/screenshots.sh and look at them before committing.\n");
    return failures == 0 ? 0 : 1;
}
