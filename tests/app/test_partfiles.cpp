#include "app/partfiles.h"
#include "platform/partfilelock.h"
#include "testenvironment.h"

#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QtTest>

#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

// Part files left by killed saves and exports are removed; nothing else
// ever is: not a part file a live writer holds, not a name that only looks
// like ours, not what a link or a pipe of that name stands for.
class TestPartFiles : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    QString path(const QString &strName) const { return dir.filePath(strName); }

    QStringList hidden() const
    {
        return QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

private Q_SLOTS:
    // A writer's parts match the pattern whatever characters the
    // temporary-file maker picks; held, they stay; left, they go.
    void onlyAbandonedPartsGo()
    {
        std::vector<std::unique_ptr<QTemporaryFile>> held;
        for (int i = 0; i < 40; ++i) {
            const auto kind = i % 2 ? PartFiles::Document : PartFiles::Export;
            held.push_back(PartFiles::create(path(QStringLiteral("lesson.tavelmark")), kind));
            QVERIFY(held.back());
            QVERIFY2(PartFiles::isPartName(QFileInfo(held.back()->fileName()).fileName()),
                     qPrintable(held.back()->fileName()));
        }
        QCOMPARE(PartFiles::removeStale(dir.path()), 0);
        QCOMPARE(hidden().size(), 40);
        // A killed writer leaves its file and lets go of its lock.
        for (auto &part : held)
            part->setAutoRemove(false);
        held.resize(10);
        QCOMPARE(PartFiles::removeStale(dir.path()), 30);
        QCOMPARE(hidden().size(), 10);
        held.clear();
        QCOMPARE(PartFiles::removeStale(dir.path()), 10);
        QVERIFY(hidden().isEmpty());
    }

    void lookalikesAreNeverTouched()
    {
        const QString elsewhere = path(QStringLiteral("elsewhere.txt"));
        QVERIFY(writeFile(elsewhere, "someone's"));
        const QStringList names = {
            QStringLiteral(".lesson.tavelmark.part-Ab3dE"), // five characters
            QStringLiteral(".lesson.tavelmark.part-Ab3dE9x"),
            QStringLiteral("lesson.tavelmark.part-Ab3dE9"), // not hidden
            QStringLiteral(".notes.txt.part-Ab3dE9"), // not a document
            QStringLiteral(".lesson.tavelmark.part-Ab3d_9"),
            QStringLiteral(".pages.zip.tavelmark-part-Ab3dE9.bak"),
        };
        for (const QString &name : names)
            QVERIFY(writeFile(path(name), "keep"));
        // Of our pattern, but a folder, a link and a pipe: no writer of ours
        // makes those, and a pipe must not hold the start.
        QVERIFY(QDir().mkpath(path(QStringLiteral(".folder.tavelmark.part-Ab3dE9"))));
        QVERIFY(QFile::link(elsewhere, path(QStringLiteral(".link.tavelmark.part-Ab3dE9"))));
        const QString pipe = path(QStringLiteral(".pipe.tavelmark.part-Ab3dE9"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const QStringList before = hidden();
        QCOMPARE(PartFiles::removeStale(dir.path()), 0);
        QCOMPARE(hidden(), before);
        QCOMPARE(readFile(elsewhere), QByteArray("someone's"));
        // The same names of our exact pattern go, in either letter case.
        for (const QString &name : { QStringLiteral(".Lesson.TAVELMARK.part-Ab3dE9"),
                                     QStringLiteral(".pages.zip.tavelmark-part-zZ09aA") })
            QVERIFY(writeFile(path(name), "left"));
        QCOMPARE(PartFiles::removeStale(dir.path()), 2);
        QCOMPARE(hidden(), before);
    }

    // A part removed between its making and its lock (a cleaner in another
    // process) is noticed, and the writer makes another.
    void aRemovedPartIsNoticed()
    {
        QTemporaryFile part(path(QStringLiteral(".race.tavelmark.part-XXXXXX")));
        QVERIFY(part.open());
        QVERIFY(QFile::remove(part.fileName()));
        QVERIFY(!PartFileLock::hold(part, part.fileName()));
        const int other = ::open(QFile::encodeName(path(QStringLiteral("held"))).constData(),
                                 O_RDWR | O_CREAT, 0600);
        QCOMPARE(::flock(other, LOCK_EX), 0);
        QFile same(path(QStringLiteral("held")));
        QVERIFY(same.open(QIODevice::ReadWrite));
        QVERIFY(!PartFileLock::hold(same, same.fileName()));
        ::close(other);
        QVERIFY(PartFileLock::hold(same, same.fileName()));
    }
};

QTEST_GUILESS_MAIN(TestPartFiles)
#include "test_partfiles.moc"
