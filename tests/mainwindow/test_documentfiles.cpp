#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/addcommand.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/objimage.h"
#include "document/pagerenderer.h"
#include "document/sessionjournal.h"
#include "document/sessionwriter.h"
#include "documentsaved.h"
#include "mainwindow/documentcommands.h"
#include "mainwindow/documentfiles.h"
#include "mainwindow/exportbtn.h"
#include "mainwindow/exportdlg.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "modalanswerer.h"
#include "openwhole.h"
#include "pixels.h"
#include "testenvironment.h"

#include <QDir>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtTest>

#include <memory>

namespace {

// Answers the file dialogs from queues, as the user would.
class TestFiles : public DocumentFiles
{
public:
    using DocumentFiles::DocumentFiles;

    QStringList openAnswers;
    QStringList saveAnswers;
    int asked = 0;

    QString askOpenFileName(const QString &, const QString &) override
    {
        ++asked;
        return openAnswers.isEmpty() ? QString() : openAnswers.takeFirst();
    }

    QString askSaveFileName(const QString &, const QString &, const QString &) override
    {
        ++asked;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};

} // namespace

class TestDocumentFiles : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    TestFiles *files = nullptr;

    MainView *view() const { return window->view(); }

    void newWindow()
    {
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        files = new TestFiles(view(), window.get());
    }

    // A page with `strokes` strokes, each one row lower.
    void addPage(int strokes, const QColor &colour = Qt::red)
    {
        view()->newPage();
        for (int i = 0; i < strokes; ++i)
            QVERIFY(view()->pushCommand(new AddCommand(
                view(),
                Pixels::line(QPointF(50, 50 + 10 * i), QPointF(250, 50 + 10 * i), 6, colour))));
    }

    QList<int> objectCounts() const
    {
        QList<int> counts;
        for (MainPage *page : view()->document().pageList())
            counts.append(int(page->objects.size()));
        return counts;
    }

    // A saved document of `count` pages with pictures, page i holding i % 3 + 1
    // strokes; the window is new afterwards.
    QString savedLesson(int count)
    {
        for (int i = 0; i < count; ++i) {
            addPage(i % 3 + 1);
            QPixmap picture(view()->currentPage()->pixelSize);
            picture.fill(QColor::fromHsv(i * 7 % 360, 200, 200));
            view()->setBackground(picture);
        }
        const QString lesson = env->path(QStringLiteral("lesson%1.tavelmark").arg(count));
        files->saveAnswers = { lesson };
        if (!documentSaved(files))
            return QString();
        newWindow();
        return lesson;
    }

    static QStringList pictureCopies()
    {
        return QDir(AppState::instance().tempFolder)
            .entryList({ QStringLiteral("background-*") }, QDir::Files);
    }

    static int leftOutMessages()
    {
        int found = 0;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *box = qobject_cast<QMessageBox *>(w);
                box && box->isVisible() && box->text().contains(QStringLiteral("left out"))) {
                ++found;
                box->close();
            }
        return found;
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        newWindow();
        AppState::instance().homePath = env->path(QString());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    // The first save asks for a name and adds the suffix; later ones write
    // in place without asking; the name is shown; an opened document adds
    // its pages after the current one, or becomes the document.
    void saveAndOpen()
    {
        addPage(2);
        addPage(1);
        AppState::instance().nextNumber = 5;
        const QString lesson = env->path(QStringLiteral("lesson"));
        files->saveAnswers = { lesson };
        QVERIFY(documentSaved(files));
        QCOMPARE(files->documentPath(), lesson + QStringLiteral(".tavelmark"));
        QVERIFY(!view()->document().isModified());
        addPage(3);
        QVERIFY(documentSaved(files));
        QCOMPARE(files->asked, 1);

        // An opened document shows its first page.
        view()->document().gotoPage(0);
        QVERIFY(openWhole(files, files->documentPath()));
        QCOMPARE(objectCounts(), (QList<int> { 2, 2, 1, 3, 1, 3 }));
        QCOMPARE(view()->document().currentPageNumber(), 2);

        const QString saved = files->documentPath();
        newWindow();
        AppState::instance().nextNumber = 1;
        files->openAnswers = { saved };
        files->openDocument();
        QTRY_VERIFY(!files->isLoading());
        QCOMPARE(objectCounts(), (QList<int> { 2, 1, 3 }));
        QCOMPARE(files->documentPath(), saved);
        QCOMPARE(view()->document().currentPageNumber(), 1);
        QCOMPARE(AppState::instance().nextNumber, 5);
        QVERIFY(!view()->document().isModified());
    }

    // Saving the editable document is offered only with pages to save, and
    // the save dialog offers it first.
    void documentIsTheFirstSaveChoice()
    {
        MenuBar *menu = window->menu();
        QVERIFY(!menu->actionSaveDocument->isEnabled());
        QVERIFY(!menu->actionSaveDocumentAs->isEnabled());
        addPage(2);
        QVERIFY(menu->actionSaveDocument->isEnabled());
        QVERIFY(menu->actionSaveDocumentAs->isEnabled());

        const QString lesson = env->path(QStringLiteral("lesson"));
        {
            QList<bool> written;
            ExportDlg dialog(window->documentCommands(), files, window.get(),
                             [&written](bool bWritten) { written.append(bWritten); });
            const QList<ExportBtn *> choices = dialog.findChildren<ExportBtn *>();
            QCOMPARE(choices.size(), 6);
            QCOMPARE(choices.first()->accessibleName(), QStringLiteral("Tavelmark document"));
            files->saveAnswers = { lesson };
            QTest::mouseClick(choices.first(), Qt::LeftButton);
            QTRY_COMPARE(written, QList<bool>({ true }));
            QCOMPARE(files->documentPath(), lesson + QStringLiteral(".tavelmark"));
            QCOMPARE(readFile(files->documentPath()).left(2), QByteArray("PK"));
        }
        view()->clearAll(false);
        QCOMPARE(view()->document().pageCount(), 0);
        QVERIFY(!window->menu()->actionSaveDocument->isEnabled());
    }

    // The command line, a second start and drops hand files over in one list:
    // documents open as documents, pictures as new pages.
    void filesFromOutsideGoWhereTheirKindBelongs()
    {
        addPage(2);
        addPage(1);
        const QString lesson = env->path(QStringLiteral("lesson.tavelmark"));
        files->saveAnswers = { lesson };
        QVERIFY(documentSaved(files));
        QImage picture(320, 200, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        const QString still = env->path(QStringLiteral("still.png"));
        QVERIFY(picture.save(still));

        newWindow();
        ModalAnswerer answerer;
        bool opened = false;
        window->openFiles({ lesson, still }, [&opened] { opened = true; });
        QTRY_VERIFY(opened);
        QCOMPARE(answerer.texts, QStringList());
        QCOMPARE(objectCounts(), QList<int>({ 2, 1, 0 }));
        QCOMPARE(view()->document().currentPageNumber(), 1);
        QCOMPARE(window->documentFiles()->documentPath(), lesson);
    }

    // The user works on the first pages while the rest come in: draws, opens
    // a second document, which waits for the first; nothing is lost, and
    // the end is told once the last page is in.
    void pagesComeInWhileTheUserWorks()
    {
        const QString lesson = savedLesson(30);
        QVERIFY(!lesson.isEmpty());
        QSignalSpy finished(files, &DocumentFiles::signal_LoadFinished);
        QList<int> firsts;
        files->openDocumentFile(lesson, [&firsts](int page) { firsts.append(page); });
        QVERIFY(files->isLoading());
        QTRY_VERIFY(view()->document().pageCount() >= 1);
        QCOMPARE(view()->document().currentPageNumber(), 1);
        QVERIFY(view()->pushCommand(
            new AddCommand(view(), Pixels::line(QPointF(10, 10), QPointF(90, 90), 5))));
        // Asked while the first may still be loading: it waits its turn.
        files->openDocumentFile(lesson, [&firsts](int page) { firsts.append(page); });
        QTRY_VERIFY(firsts.size() == 2 && !files->isLoading());
        QVERIFY(finished.count() >= 1);
        QCOMPARE(firsts, (QList<int> { 1, 2 }));
        QList<int> counts, lessonCounts;
        for (int i = 0; i < 30; ++i)
            lessonCounts.append(i % 3 + 1);
        // The second document follows the page the user was on.
        counts = QList<int> { 2 } + lessonCounts + lessonCounts.mid(1);
        QCOMPARE(objectCounts(), counts);
        QCOMPARE(files->documentPath(), lesson);
        QCOMPARE(leftOutMessages(), 0);
        QCOMPARE(pictureCopies(), QStringList());
    }

    // Clear All while pages come in stops the load: no page arrives in the
    // emptied document, no copy of a picture stays behind. Closing the
    // window meanwhile stops it alike.
    void aLoadStopsWithItsDocument()
    {
        const QString lesson = savedLesson(30);
        QVERIFY(!lesson.isEmpty());
        int inWhenCleared = 0;
        auto *once = new QObject(this);
        connect(files, &DocumentFiles::signal_PagesOpened, once, [this, once, &inWhenCleared] {
            QMetaObject::invokeMethod(
                view(),
                [this, &inWhenCleared] {
                    inWhenCleared = view()->document().pageCount();
                    view()->clearAll(false);
                },
                Qt::QueuedConnection);
            once->deleteLater();
        });
        openWhole(files, lesson);
        QVERIFY(inWhenCleared >= 1 && inWhenCleared < 30);
        QCOMPARE(view()->document().pageCount(), 0);
        QVERIFY(!files->isLoading());
        QCOMPARE(pictureCopies(), QStringList());

        files->openDocumentFile(lesson);
        QTRY_VERIFY(view()->document().pageCount() >= 1);
        window.reset();
        QCOMPARE(pictureCopies(), QStringList());
    }

    void aDamagedDocumentIsTold()
    {
        const QString bad = env->path(QStringLiteral("bad.tavelmark"));
        QVERIFY(writeFile(bad, "not a zip"));
        ModalAnswerer answerer;
        QVERIFY(!openWhole(files, bad));
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.first().contains(QStringLiteral("could not be opened")));
        QCOMPARE(view()->document().pageCount(), 0);
    }

    // Pages journaled by a run that did not close come back when the next
    // run's question is answered Yes, with their pictures; No discards
    // them, and a normal close leaves no session behind.
    void sessionComesBack()
    {
        window->startSession();
        addPage(2, Qt::blue);
        view()->setBackground([&] {
            QPixmap picture(view()->currentPage()->pixelSize);
            picture.fill(Qt::yellow);
            return picture;
        }());
        addPage(1);
        const QString lesson = env->path(QStringLiteral("lesson.tavelmark"));
        window->documentFiles()->setDocumentPath(lesson);
        QVERIFY(window->sessionJournal()->writeAndWait());
        const QImage first = PageRenderer::renderPage(view()->document().pageList().first());
        // The run ends without closing.
        newWindow();
        {
            ModalAnswerer answerer(QMessageBox::Yes);
            window->startSession();
            QCOMPARE(answerer.texts.size(), 1);
            QVERIFY(answerer.texts.first().contains(QStringLiteral("2 pages")));
        }
        QCOMPARE(objectCounts(), (QList<int> { 2, 1 }));
        QCOMPARE(PageRenderer::renderPage(view()->document().pageList().first()), first);
        QVERIFY(!QFileInfo::exists(env->dataFolder() + QStringLiteral("/recovered")));
        QCOMPARE(window->documentFiles()->documentPath(), lesson);
        QCOMPARE(leftOutMessages(), 0);

        // A picture the session names that cannot be read again is told.
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::green);
        const QString still = env->path(QStringLiteral("still.png"));
        QVERIFY(picture.save(still));
        QVERIFY(window->documentCommands()->InsertImageFile(QPointF(10, 10), QSizeF(200, 200),
                                                            still, false));
        QVERIFY(window->sessionJournal()->writeAndWait());
        const auto *inserted = static_cast<const ObjImage *>(view()->currentPage()->objects.last());
        QVERIFY(QFile::remove(inserted->path));
        newWindow();
        {
            ModalAnswerer answerer(QMessageBox::Yes);
            window->startSession();
        }
        QCOMPARE(leftOutMessages(), 1);

        // Crashed again: this time the pages are discarded.
        newWindow();
        {
            ModalAnswerer answerer(QMessageBox::No);
            window->startSession();
            QCOMPARE(answerer.texts.size(), 1);
        }
        QCOMPARE(view()->document().pageCount(), 0);
        const QString session = window->sessionJournal()->path();
        QVERIFY(!QFile::exists(session));

        addPage(1);
        QVERIFY(window->sessionJournal()->writeAndWait());
        QVERIFY(QFile::exists(session));
        {
            ModalAnswerer answerer(QMessageBox::Discard);
            window->close();
        }
        QVERIFY(!QFile::exists(session));
    }

    // Kept while a document still loads, the session names no document: a
    // crash then would restore only some pages, and saving them over the
    // whole file would lose the rest.
    void aLoadingSessionNamesNoDocument()
    {
        const QString lesson = savedLesson(30);
        QVERIFY(!lesson.isEmpty());
        window->startSession();
        DocumentFiles *opener = window->documentFiles();
        const QString index = QDir(window->sessionJournal()->path())
                                  .filePath(QLatin1String(SessionWriter::IndexName));
        const auto namedDocument = [&] {
            QFile file(index);
            if (!window->sessionJournal()->writeAndWait() || !file.open(QIODevice::ReadOnly))
                return QStringLiteral("not written");
            const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
            return root.value(QLatin1String("documentPath")).toString();
        };
        QString whileLoading = QStringLiteral("not kept");
        bool loading = false;
        auto *once = new QObject(this);
        connect(opener, &DocumentFiles::signal_PagesOpened, once, [&, once] {
            loading = opener->isLoading();
            whileLoading = namedDocument();
            once->deleteLater();
        });
        QVERIFY(openWhole(opener, lesson));
        QVERIFY(loading);
        QCOMPARE(whileLoading, QString());
        QCOMPARE(namedDocument(), lesson);
    }

    // The session file an earlier version left is offered back once: the
    // restored pages are journaled the new way and the old file goes.
    void earlierVersionsSessionIsOfferedOnce()
    {
        addPage(2, Qt::blue);
        view()->setBackground([&] {
            QPixmap picture(view()->currentPage()->pixelSize);
            picture.fill(Qt::yellow);
            return picture;
        }());
        const QImage shown = PageRenderer::renderPage(view()->currentPage());
        const QString old = env->dataFolder() + QStringLiteral("/session.tavelmark");
        QVERIFY(DocumentWriter().write(DocumentSnapshot::take(view()->document().pageList(), 1),
                                       old, DocumentWriter::Referenced));
        newWindow();
        {
            ModalAnswerer answerer(QMessageBox::Yes);
            window->startSession();
            QCOMPARE(answerer.texts.size(), 1);
        }
        QCOMPARE(objectCounts(), QList<int> { 2 });
        QCOMPARE(PageRenderer::renderPage(view()->currentPage()), shown);
        QVERIFY(!QFile::exists(old));
        QVERIFY(QFile::exists(window->sessionJournal()->path()));
        {
            ModalAnswerer answerer(QMessageBox::Discard);
            window->close();
        }
        newWindow();
        {
            ModalAnswerer answerer(QMessageBox::Yes);
            window->startSession();
            QCOMPARE(answerer.texts.size(), 0);
        }
        QCOMPARE(view()->document().pageCount(), 0);
    }
};

QTEST_MAIN(TestDocumentFiles)
#include "test_documentfiles.moc"
