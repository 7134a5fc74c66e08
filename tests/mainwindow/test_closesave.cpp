#include "modalanswerer.h"
#include "testenvironment.h"

#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/documentreader.h"
#include "document/mainpage.h"
#include "mainwindow/documentfiles.h"
#include "mainwindow/mainwindow.h"

#include <QSignalSpy>
#include <QtTest>

#include <memory>

// Closing while the document is saved on its worker: the program ends only
// once the file is written, and a failed save keeps it running.
class TestCloseSave : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    static int pagesIn(const QString &file)
    {
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(file);
        qDeleteAll(pages);
        return int(pages.size());
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    // The question's Save that fails is told; the pages and the program stay.
    void failedSaveKeepsTheProgram()
    {
        const QString target = env->path(QStringLiteral("kept.tavelmark"));
        QVERIFY(writeFile(target, "the old file"));
        QVERIFY(QFile::setPermissions(target, QFile::ReadOwner));
        window->documentFiles()->setDocumentPath(target);
        window->view()->newPage();
        QSignalSpy saved(window->documentFiles(), &DocumentFiles::signal_Saved);
        {
            ModalAnswerer answerer(QMessageBox::Save);
            QVERIFY(!window->close());
            QCOMPARE(answerer.texts.size(), 1);
        }
        ModalAnswerer failure;
        QVERIFY(saved.wait());
        QCOMPARE(saved.first().first().toBool(), false);
        QCOMPARE(failure.texts.size(), 1);
        QVERIFY(failure.texts.first().contains(QStringLiteral("could not be saved")));
        QVERIFY(QFile::exists(AppState::instance().tempFolder));
        QVERIFY(window->view()->document().isModified());
        QCOMPARE(readFile(target), QByteArray("the old file"));
    }

    // Closing during a save waits for it; a page added meanwhile is still
    // unsaved then, so the question comes, and its Save ends the program
    // once that page is written too. It quits the application: it comes last.
    void closingWaitsForTheSave()
    {
        const QString target = env->path(QStringLiteral("lesson.tavelmark"));
        window->documentFiles()->setDocumentPath(target);
        window->view()->newPage();
        const QString temp = AppState::instance().tempFolder;
        ModalAnswerer answerer(QMessageBox::Save);
        window->documentFiles()->saveDocument();
        window->view()->newPage();
        QVERIFY(!window->close());
        QVERIFY(answerer.texts.isEmpty());
        QVERIFY(QFile::exists(temp));
        QTRY_VERIFY_WITH_TIMEOUT(!QFile::exists(temp), 30000);
        QCOMPARE(answerer.texts.size(), 1);
        QVERIFY(answerer.texts.first().contains(QStringLiteral("has been modified")));
        QCOMPARE(pagesIn(target), 2);
    }
};

QTEST_MAIN(TestCloseSave)
#include "test_closesave.moc"
