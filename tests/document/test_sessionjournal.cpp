#include "pixels.h"
#include "smalldisk.h"
#include "testhost.h"

#include "app/appstate.h"
#include "document/addcommand.h"
#include "document/documentreader.h"
#include "document/mainpage.h"
#include "document/sessionjournal.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoStack>
#include <QtTest>

#include <memory>

class TestSessionJournal : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QList<MainPage *> pages;

    QString sessionFile() const { return dir.filePath(QStringLiteral("session.tavelmark")); }

    std::vector<std::unique_ptr<TestHost>> hosts; // the commands call them on undo

    void draw(MainPage *page, int y)
    {
        hosts.push_back(std::make_unique<TestHost>(page));
        page->undoStack->push(
            new AddCommand(hosts.back().get(), Pixels::line(QPointF(10, y), QPointF(90, y), 4)));
    }

    // What a restart would find: the number of objects on each page.
    QList<int> restored(const QString &file = QString()) const
    {
        DocumentReader reader(AppState::instance().tempFolder);
        const QList<MainPage *> read = reader.read(file.isEmpty() ? sessionFile() : file);
        QList<int> counts;
        for (MainPage *page : read)
            counts.append(int(page->objects.size()));
        qDeleteAll(read);
        return counts;
    }

    std::unique_ptr<SessionJournal> journal(const QString &file = QString())
    {
        return std::make_unique<SessionJournal>(file.isEmpty() ? sessionFile() : file,
                                                [this] { return pages; });
    }

private Q_SLOTS:
    void initTestCase()
    {
        AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/"));
        QVERIFY(QDir().mkpath(AppState::instance().tempFolder));
    }

    void cleanup()
    {
        qDeleteAll(pages);
        pages.clear();
        hosts.clear();
        QFile::setPermissions(sessionFile(), QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(sessionFile());
    }

    // A burst of changes gives one write, after the delay and not before;
    // changes that go on are written at least once per delay.
    void changesAreWrittenOncePerDelay()
    {
        pages = { new MainPage(QSize(100, 100), false), new MainPage(QSize(100, 100), false) };
        auto j = journal();
        QSignalSpy written(j.get(), &SessionJournal::signal_Written);
        QElapsedTimer clock;
        clock.start();
        for (int i = 0; i < 5; ++i) {
            draw(pages.first(), 10 + i);
            j->touch();
        }
        QVERIFY(!QFile::exists(sessionFile()));
        QVERIFY(written.wait(SessionJournal::DelayMs * 3));
        QVERIFY(clock.elapsed() >= SessionJournal::DelayMs * 9 / 10); // a coarse timer
        QCOMPARE(written.size(), 1);
        QCOMPARE(restored(), (QList<int> { 5, 0 }));

        // Steady drawing: the timer is not pushed back by each change.
        clock.restart();
        draw(pages.last(), 50);
        j->touch();
        while (written.size() < 2 && clock.elapsed() < SessionJournal::DelayMs * 3) {
            j->touch();
            QTest::qWait(20);
        }
        QCOMPARE(written.size(), 2);
        QVERIFY(clock.elapsed() < SessionJournal::DelayMs * 2);
        QCOMPARE(restored(), (QList<int> { 5, 1 }));
    }

    // Written at once on demand; undo counts as a change; no pages remove
    // the file; a normal end removes it and stops writing.
    void writeAndWaitAndRemove()
    {
        pages = { new MainPage(QSize(100, 100), false) };
        auto j = journal();
        draw(pages.first(), 20);
        draw(pages.first(), 30);
        QVERIFY(j->writeAndWait());
        QCOMPARE(restored(), QList<int> { 2 });
        pages.first()->undoStack->undo();
        QVERIFY(j->writeAndWait());
        QCOMPARE(restored(), QList<int> { 1 });

        const QList<MainPage *> kept = pages;
        pages.clear();
        QVERIFY(j->writeAndWait());
        QVERIFY(!QFile::exists(sessionFile()));
        pages = kept;

        QVERIFY(j->writeAndWait());
        j->remove();
        QVERIFY(!QFile::exists(sessionFile()));
        j->writeNow();
        QVERIFY(j->writeAndWait());
        QVERIFY(!QFile::exists(sessionFile()));
    }

    // A session that cannot be written keeps the last good file, says so
    // once until a write succeeds, and never stops the caller.
    void failedWritesKeepTheLastGoodFile()
    {
        pages = { new MainPage(QSize(100, 100), false) };
        auto j = journal();
        draw(pages.first(), 20);
        QVERIFY(j->writeAndWait());
        QVERIFY(QFile::setPermissions(sessionFile(), QFile::ReadOwner));
        QSignalSpy failed(j.get(), &SessionJournal::signal_WriteFailed);
        QSignalSpy written(j.get(), &SessionJournal::signal_Written);
        draw(pages.first(), 40);
        j->writeNow();
        QVERIFY(failed.wait());
        draw(pages.first(), 50);
        j->writeNow();
        QVERIFY(!j->writeAndWait());
        QCOMPARE(failed.size(), 1);
        QCOMPARE(restored(), QList<int> { 1 });

        QVERIFY(QFile::setPermissions(sessionFile(), QFile::ReadOwner | QFile::WriteOwner));
        j->writeNow();
        QVERIFY(written.wait());
        QCOMPARE(restored(), QList<int> { 3 });
        QVERIFY(QFile::setPermissions(sessionFile(), QFile::ReadOwner));
        j->writeNow();
        QVERIFY(failed.wait());
        QCOMPARE(failed.size(), 2);
    }

    // On a full disk the same holds: the last good file stays whole and no
    // part of the failed write is left.
    void fullDiskKeepsTheLastGoodFile()
    {
        SmallDisk disk(dir.filePath(QStringLiteral("small")));
        const QString file = disk.path + QStringLiteral("/session.tavelmark");
        pages = { new MainPage(QSize(100, 100), false) };
        auto j = journal(file);
        draw(pages.first(), 20);
        QVERIFY(j->writeAndWait());
        // Random points do not compress: far more than the disk holds.
        auto *scribble = new ObjStroke;
        scribble->path.moveTo(0, 0);
        auto *random = QRandomGenerator::global();
        for (int i = 0; i < 60000; ++i)
            scribble->path.lineTo(random->bounded(100000) / 997.0, random->bounded(100000) / 991.0);
        pages.first()->appendObjects({ scribble }, false);
        ++pages.first()->revision;
        QSignalSpy failed(j.get(), &SessionJournal::signal_WriteFailed);
        disk.fill(true);
        j->writeNow();
        QVERIFY(failed.wait());
        j->writeNow();
        const bool again = j->writeAndWait();
        disk.fill(false);
        QVERIFY(!again);
        QCOMPARE(failed.size(), 1);
        QCOMPARE(restored(file), QList<int> { 1 });
        QCOMPARE(QDir(disk.path).entryList(QDir::Files | QDir::Hidden),
                 QStringList { "session.tavelmark" });
    }
};

QTEST_MAIN(TestSessionJournal)
#include "test_sessionjournal.moc"
