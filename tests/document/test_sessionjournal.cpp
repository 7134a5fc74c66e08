#include "pixels.h"
#include "slidepdf.h"
#include "smalldisk.h"
#include "testhost.h"

#include "app/appstate.h"
#include "document/addcommand.h"
#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/mainpage.h"
#include "document/pdfsource.h"
#include "document/sessionjournal.h"
#include "document/sessionreader.h"
#include "document/sessionwriter.h"

#include <QDir>
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

    QString sessionFolder() const { return dir.filePath(QStringLiteral("session")); }
    QString indexFile() const
    {
        return sessionFolder() + QLatin1Char('/') + QLatin1String(SessionWriter::IndexName);
    }

    std::vector<std::unique_ptr<TestHost>> hosts; // the commands call them on undo

    void draw(MainPage *page, int y)
    {
        hosts.push_back(std::make_unique<TestHost>(page));
        page->undoStack->push(
            new AddCommand(hosts.back().get(), Pixels::line(QPointF(10, y), QPointF(90, y), 4)));
    }

    MainPage *pageWith(int strokes)
    {
        auto *page = new MainPage(QSize(100, 100), false);
        for (int i = 0; i < strokes; ++i)
            draw(page, 10 + i);
        return page;
    }

    // What a restart would find: the number of objects on each page.
    static QList<int> restored(const QString &folder)
    {
        DocumentReader reader(AppState::instance().tempFolder);
        const QList<MainPage *> read = SessionReader::read(folder, &reader);
        QList<int> counts;
        for (MainPage *page : read)
            counts.append(int(page->objects.size()));
        qDeleteAll(read);
        return counts;
    }
    QList<int> restored() const { return restored(sessionFolder()); }

    static QStringList filesIn(const QString &folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    }

    // Dates every file of the folder back to a day long past, and tells
    // which files still carry it.
    static QStringList untouched(const QString &folder, bool backdate = false)
    {
        const QDateTime past(QDate(2001, 2, 3), QTime(4, 5, 6));
        QStringList names;
        for (const QString &name : filesIn(folder)) {
            QFile file(QDir(folder).filePath(name));
            if (backdate && file.open(QIODevice::ReadWrite))
                file.setFileTime(past, QFileDevice::FileModificationTime);
            else if (QFileInfo(file).lastModified() == past)
                names.append(name);
        }
        return names;
    }

    std::unique_ptr<SessionJournal> journal(const QString &folder = QString())
    {
        return std::make_unique<SessionJournal>(folder.isEmpty() ? sessionFolder() : folder,
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
        QDir(sessionFolder()).removeRecursively();
    }

    // A burst of changes gives one write, later and not at once; changes
    // that go on do not push the write back for ever.
    void aBurstGivesOneWriteAndSteadyChangesStillWrite()
    {
        pages = { new MainPage(QSize(100, 100), false), new MainPage(QSize(100, 100), false) };
        auto j = journal();
        QSignalSpy written(j.get(), &SessionJournal::signal_Written);
        for (int i = 0; i < 5; ++i) {
            draw(pages.first(), 10 + i);
            j->touch();
        }
        QVERIFY(!QFile::exists(indexFile()));
        QVERIFY(written.wait(SessionJournal::DelayMs * 3));
        QCOMPARE(written.size(), 1);
        QCOMPARE(restored(), (QList<int> { 5, 0 }));

        // A change at every check: a timer started again by each one would
        // never fire.
        draw(pages.last(), 50);
        QTRY_VERIFY_WITH_TIMEOUT((j->touch(), written.size() == 2), SessionJournal::DelayMs * 3);
        QCOMPARE(restored(), (QList<int> { 5, 1 }));
    }

    // Written at once on demand; undo counts as a change; no pages remove
    // the session; a normal end removes it and stops writing.
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
        QVERIFY(!QFileInfo::exists(sessionFolder()));
        pages = kept;

        QVERIFY(j->writeAndWait());
        QCOMPARE(restored(), QList<int> { 1 });
        j->remove();
        QVERIFY(!QFileInfo::exists(sessionFolder()));
        j->writeNow();
        QVERIFY(j->writeAndWait());
        QVERIFY(!QFileInfo::exists(sessionFolder()));
    }

    // A change to one page writes that page's file and the index, nothing
    // else; a deleted page's file goes; a session removed from under the
    // journal is written whole again.
    void onlyChangedPagesAreWritten()
    {
        pages = { pageWith(1), pageWith(2), pageWith(3) };
        auto j = journal();
        QVERIFY(j->writeAndWait());
        const QStringList before = filesIn(sessionFolder());
        QCOMPARE(before.size(), 4);
        untouched(sessionFolder(), true);
        draw(pages.at(1), 40);
        QVERIFY(j->writeAndWait());
        const QStringList kept = untouched(sessionFolder());
        QCOMPARE(kept.size(), 2);
        QCOMPARE(filesIn(sessionFolder()).size(), 4);
        for (const QString &name : kept)
            QVERIFY(before.contains(name));
        QCOMPARE(restored(), (QList<int> { 1, 3, 3 }));

        delete pages.takeLast();
        QVERIFY(j->writeAndWait());
        QCOMPARE(filesIn(sessionFolder()).size(), 3);
        QCOMPARE(restored(), (QList<int> { 1, 3 }));

        QVERIFY(QDir(sessionFolder()).removeRecursively());
        draw(pages.first(), 50);
        QVERIFY(j->writeAndWait());
        QCOMPARE(restored(), (QList<int> { 2, 3 }));
    }

    // Killed between any two steps of a write, also those that bring a PDF,
    // the folder reads back as the session before it or the one after, and
    // the next run's first write leaves only what its index names.
    void crashAtAnyStepLeavesOneWholeSession()
    {
        const QList<int> before { 1, 2, 3 }, after { 4, 3, 1, 1 };
        pages = { pageWith(1), pageWith(2), pageWith(3) };
        const DocumentSnapshot first = DocumentSnapshot::take(pages, 1);
        for (int i = 0; i < 3; ++i)
            draw(pages.first(), 30 + i);
        delete pages.takeAt(1);
        pages.append(pageWith(1));
        // A page that shows a PDF reads back only with its PDF whole.
        pages.append(pageWith(1));
        pages.last()->background = MainPage::PdfBackground;
        pages.last()->pdf = PdfSource::open(SlidePdf::coloured(2), QString());
        pages.last()->pdfPage = 1;
        QVERIFY(pages.last()->pdf);
        const DocumentSnapshot second = DocumentSnapshot::take(pages, 2);
        bool completed = false;
        for (int steps = 0; !completed; ++steps) {
            QVERIFY2(steps < 50, "the write never completed");
            const QString folder = dir.filePath(QStringLiteral("crash-%1").arg(steps));
            SessionWriter killed(folder);
            QVERIFY(killed.write(first));
            killed.stopAfter(steps);
            completed = killed.write(second);
            const QList<int> found = restored(folder);
            QVERIFY2(found == before || found == after, qPrintable(QString::number(steps)));
            if (completed)
                QCOMPARE(found, after);

            SessionWriter next(folder);
            QVERIFY(next.write(second));
            QCOMPARE(restored(folder), after);
            QCOMPARE(filesIn(folder).size(), 6);
        }
    }

    // A session that cannot be written keeps the last good one, says so
    // once until a write succeeds, and never stops the caller.
    void failedWritesKeepTheLastGoodSession()
    {
        pages = { new MainPage(QSize(100, 100), false) };
        auto j = journal();
        draw(pages.first(), 20);
        QVERIFY(j->writeAndWait());
        const QStringList good = filesIn(sessionFolder());
        // Nothing, not even the owner of every file, writes the index's
        // part where a folder stands.
        const QString blocker = indexFile() + QStringLiteral(".part");
        QVERIFY(QDir().mkpath(blocker));
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
        QCOMPARE(filesIn(sessionFolder()), good);

        QVERIFY(QDir().rmdir(blocker));
        j->writeNow();
        QVERIFY(written.wait());
        QCOMPARE(restored(), QList<int> { 3 });
        QVERIFY(QDir().mkpath(blocker));
        draw(pages.first(), 60);
        j->writeNow();
        QVERIFY(failed.wait());
        QCOMPARE(failed.size(), 2);
    }

    // On a full disk the same holds: the last good session stays whole and
    // no part of the failed write is left.
    void fullDiskKeepsTheLastGoodSession()
    {
        SmallDisk disk(dir.filePath(QStringLiteral("small")));
        const QString folder = disk.path + QStringLiteral("/session");
        pages = { new MainPage(QSize(100, 100), false) };
        auto j = journal(folder);
        draw(pages.first(), 20);
        QVERIFY(j->writeAndWait());
        const QStringList good = filesIn(folder);
        // Random points do not compress: far more than the disk holds.
        auto *scribble = new ObjStroke;
        scribble->path.moveTo(0, 0);
        QRandomGenerator random(28);
        for (int i = 0; i < 60000; ++i)
            scribble->path.lineTo(random.bounded(100000) / 997.0, random.bounded(100000) / 991.0);
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
        QCOMPARE(restored(folder), QList<int> { 1 });
        QCOMPARE(filesIn(folder), good);
        QCOMPARE(QDir(disk.path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList { "session" });
    }
};

QTEST_MAIN(TestSessionJournal)
#include "test_sessionjournal.moc"
