#include "app/appstate.h"
#include "document/document.h"
#include "document/mainpage.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QUndoCommand>
#include <QtTest>

namespace {
// Counts its own deletions, so that a test sees who owns it.
struct CountedCommand : QUndoCommand
{
    explicit CountedCommand(int *pDeleted)
        : deleted(pDeleted)
    {
    }
    ~CountedCommand() override { ++*deleted; }
    int *deleted;
};
} // namespace

// The page list, the current page, the history and the modified state, as the
// page commands, the browser and the save question rely on them.
class TestDocument : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

    static QList<MainPage *> makePages(int count)
    {
        QList<MainPage *> made;
        for (int i = 0; i < count; ++i)
            made.append(new MainPage(QSize(64, 48), false));
        return made;
    }

    // A page with a picture file, as a captured page has.
    static MainPage *picturePage()
    {
        auto *page = new MainPage(QSize(64, 48), false);
        page->background = MainPage::PictureBackground;
        QFile file(MainPage::backgroundFile(page->id));
        if (file.open(QIODevice::WriteOnly))
            file.write("png");
        return page;
    }

private Q_SLOTS:
    void init()
    {
        AppState::reset();
        QDir().mkpath(AppState::instance().tempFolder = dir.filePath(QStringLiteral("temp/")));
    }

    // Pages read from a file follow the current one, and the first of them is
    // shown, as when a document is read from its start.
    void addedPagesFollowTheCurrentOne()
    {
        Document doc;
        const QList<MainPage *> first = makePages(3);
        doc.addPages(first);
        QCOMPARE(doc.currentPage(), first.at(0));
        QVERIFY(doc.gotoPage(1));
        QList<QPair<MainPage *, MainPage *>> shown;
        connect(&doc, &Document::currentPageChanged, this,
                [&](MainPage *page, MainPage *left) { shown.append(qMakePair(page, left)); });
        const QList<MainPage *> more = makePages(2);
        doc.addPages(more);
        QCOMPARE(
            doc.pageList(),
            QList<MainPage *>({ first.at(0), first.at(1), more.at(0), more.at(1), first.at(2) }));
        QCOMPARE(doc.currentPageNumber(), 3);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.at(0), qMakePair(more.at(0), first.at(1)));
        QVERIFY(!doc.gotoPage(2));
        QVERIFY(!doc.gotoPage(5));
        QCOMPARE(doc.currentPageNumber(), 3);
    }

    // Deleting shows the next page, the previous one after the last; the
    // deleted page's picture file goes with it, and whoever held the page
    // hears of it before it is deleted.
    void deletingShowsANeighbourAndDropsThePicture()
    {
        Document doc;
        MainPage *pictured = picturePage();
        const int picturedId = pictured->id;
        const QString file = MainPage::backgroundFile(picturedId);
        QList<MainPage *> pages = makePages(2);
        pages.insert(1, pictured);
        doc.addPages(pages);
        QVERIFY(doc.gotoPage(1));
        QStringList events;
        connect(&doc, &Document::aboutToChange, this, [&] { events << "about"; });
        connect(&doc, &Document::pageDiscarded, this, [&](int id) {
            events << QStringLiteral("discarded %1").arg(id == picturedId);
            if (id == picturedId)
                QVERIFY(QFile::exists(file));
        });
        QCOMPARE(doc.deleteCurrentPage(), 2);
        QCOMPARE(events, QStringList({ "about", "discarded 1" }));
        events.clear();
        QVERIFY(!QFile::exists(file));
        QCOMPARE(doc.currentPage(), pages.at(2));
        QCOMPARE(doc.deleteCurrentPage(), 2);
        QCOMPARE(doc.currentPage(), pages.at(0));
        QCOMPARE(doc.deleteCurrentPage(), 1);
        QCOMPARE(doc.currentPage(), nullptr);
        QCOMPARE(doc.currentPageNumber(), 0);
        QCOMPARE(doc.deleteCurrentPage(), 0);
    }

    void movingKeepsTheCurrentPage()
    {
        Document doc;
        const QList<MainPage *> pages = makePages(4);
        doc.addPages(pages);
        QVERIFY(doc.gotoPage(1));
        QSignalSpy changed(&doc, &Document::pagesChanged);
        doc.movePage(1, 3);
        QCOMPARE(doc.currentPage(), pages.at(1));
        QCOMPARE(doc.currentPageNumber(), 4);
        doc.movePage(0, 4); // out of range: nothing moves
        QCOMPARE(changed.size(), 1);
    }

    // Every step through the history marks the document modified, also one
    // back to where it was saved; without a page a command is not leaked.
    void historyMarksTheDocumentModified()
    {
        Document doc;
        int deleted = 0;
        QVERIFY(!doc.pushCommand(new CountedCommand(&deleted)));
        QCOMPARE(deleted, 1);
        QVERIFY(!doc.undo());

        doc.addPages(makePages(2));
        doc.setModified(false);
        QVERIFY(!doc.isModified());
        QSignalSpy state(&doc, &Document::undoStateChanged);
        QVERIFY(doc.pushCommand(new CountedCommand(&deleted)));
        QVERIFY(doc.isModified());
        QCOMPARE(state.takeLast(), QVariantList({ true, false }));
        doc.setModified(false);
        QVERIFY(doc.undo());
        QVERIFY(doc.isModified());
        QCOMPARE(state.takeLast(), QVariantList({ false, true }));
        QVERIFY(doc.gotoPage(1));
        QCOMPARE(state.takeLast(), QVariantList({ false, false }));
    }

    void clearingDropsEveryPicture()
    {
        Document doc;
        const QList<MainPage *> pages = { picturePage(), picturePage() };
        const QStringList files = { MainPage::backgroundFile(pages.at(0)->id),
                                    MainPage::backgroundFile(pages.at(1)->id) };
        doc.addPages(pages);
        QSignalSpy discarded(&doc, &Document::pageDiscarded);
        doc.clear();
        QCOMPARE(discarded.size(), 2);
        QCOMPARE(doc.pageCount(), 0);
        QVERIFY(!QFile::exists(files.at(0)) && !QFile::exists(files.at(1)));
        QSignalSpy named(&doc, &Document::nameChanged);
        doc.setName(QStringLiteral("Lesson"));
        doc.setName(QStringLiteral("Lesson"));
        QCOMPARE(named.size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestDocument)
#include "test_document.moc"
