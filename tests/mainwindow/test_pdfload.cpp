#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "document/pdfsource.h"
#include "mainwindow/documentfiles.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/pdfload.h"
#include "modalanswerer.h"
#include "openwhole.h"
#include "slidepdf.h"
#include "testenvironment.h"

#include <QScreen>
#include <QSemaphore>
#include <QtTest>

#include <atomic>
#include <memory>

namespace {

// Answers the password questions from a queue; an empty answer cancels.
class TestFiles : public DocumentFiles
{
public:
    using DocumentFiles::DocumentFiles;

    QStringList passwords;
    QList<bool> askedAfterWrong;

    void askPassword(const QString &, bool bWrongBefore, const PasswordAnswer &answer) override
    {
        askedAfterWrong.append(bWrongBefore);
        const QString given = passwords.isEmpty() ? QString() : passwords.takeFirst();
        answer(!given.isEmpty(), given);
    }
};

} // namespace

// PDFs opened as pages: a page per PDF page, passwords, refusals.
class TestPdfLoad : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    TestFiles *files = nullptr;

    MainView *view() const { return window->view(); }
    Document &doc() const { return view()->document(); }

    QString written(const QString &name, const QByteArray &bytes)
    {
        return writeFile(env->path(name), bytes) ? env->path(name) : QString();
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        files = new TestFiles(view(), window.get());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    // Each PDF page is a page of the screen's size showing that PDF page;
    // the first is current and shows at once. A PDF is not the document
    // that Save Document writes again.
    void opensEveryPdfPageAsAPage()
    {
        const QString slides
            = written(QStringLiteral("slides.pdf"), SlidePdf::coloured(5, QSizeF(1024, 576)));
        QVERIFY(openWhole(files, slides));
        QCOMPARE(doc().pageCount(), 5);
        QCOMPARE(doc().currentPageNumber(), 1);
        QScreen *screen = QGuiApplication::primaryScreen();
        for (int i = 0; i < 5; ++i) {
            const MainPage *page = doc().pageList().at(i);
            QCOMPARE(page->background, int(MainPage::PdfBackground));
            QCOMPARE(page->pdfPage, i);
            QCOMPARE(page->pdf, doc().pageList().first()->pdf);
            QCOMPARE(page->size, screen->size());
        }
        const QImage shown = view()->backgroundPicture().toImage();
        const QColor middle = shown.pixelColor(shown.width() / 2, shown.height() / 2);
        QVERIFY(qAbs(middle.hue() - SlidePdf::colour(0).hue()) <= 2);
        QVERIFY(!files->hasDocument());
        QVERIFY(!files->isLoading());
    }

    // Opened beside pages, its pages go after the last one.
    void appendsItsPages()
    {
        view()->newPage();
        view()->newPage();
        QVERIFY(doc().gotoPage(0));
        const QString slides
            = written(QStringLiteral("slides.pdf"), SlidePdf::coloured(3, QSizeF(1024, 576)));
        QVERIFY(openWhole(files, slides));
        QCOMPARE(doc().pageCount(), 5);
        QCOMPARE(doc().currentPageNumber(), 3);
        QCOMPARE(doc().pageList().at(1)->background, int(MainPage::ColourBackground));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(doc().pageList().at(i + 2)->pdfPage, i);
    }

    // A wrong password asks again, saying so; the right one opens.
    void asksForThePasswordUntilRight()
    {
        const QByteArray pdf
            = SlidePdf::locked(SlidePdf::coloured(2, QSizeF(1024, 576)), QStringLiteral("chalk"));
        QVERIFY(!pdf.isEmpty());
        files->passwords = { QStringLiteral("cheese"), QStringLiteral("chalk") };
        QVERIFY(openWhole(files, written(QStringLiteral("locked.pdf"), pdf)));
        QCOMPARE(files->askedAfterWrong, QList<bool>({ false, true }));
        QCOMPARE(doc().pageCount(), 2);
        QCOMPARE(doc().currentPage()->pdf->password(), QStringLiteral("chalk"));
    }

    // Cancel leaves everything as it was, without a message.
    void cancelledPasswordChangesNothing()
    {
        view()->newPage();
        const QByteArray pdf
            = SlidePdf::locked(SlidePdf::coloured(2, QSizeF(1024, 576)), QStringLiteral("chalk"));
        ModalAnswerer answerer;
        QVERIFY(!openWhole(files, written(QStringLiteral("locked.pdf"), pdf)));
        QCOMPARE(files->askedAfterWrong, QList<bool>({ false }));
        QCOMPARE(doc().pageCount(), 1);
        QVERIFY(answerer.texts.isEmpty());
        QVERIFY(!files->isLoading());
    }

    // Damaged or unreadable files are refused with a message and change nothing.
    void refusesDamagedFiles()
    {
        view()->newPage();
        const QByteArray whole = SlidePdf::coloured(3, QSizeF(1024, 576));
        const QStringList bad = { written(QStringLiteral("cut.pdf"), whole.left(whole.size() / 3)),
                                  written(QStringLiteral("text.pdf"), "not a PDF at all"),
                                  env->path(QStringLiteral("missing.pdf")) };
        for (const QString &file : bad) {
            ModalAnswerer answerer;
            QVERIFY(!openWhole(files, file));
            QTRY_COMPARE(answerer.texts.size(), 1);
            QVERIFY(
                answerer.texts.first().startsWith(QStringLiteral("The PDF could not be opened.")));
            QVERIFY(answerer.texts.first().contains(QFileInfo(file).fileName()));
            QCOMPARE(doc().pageCount(), 1);
        }
    }

    // An opening past its deadline is refused while the worker still runs;
    // its late result adds nothing.
    void refusesAnOpeningPastItsDeadline()
    {
        const QString slides
            = written(QStringLiteral("slides.pdf"), SlidePdf::coloured(2, QSizeF(1024, 576)));
        auto release = std::make_shared<QSemaphore>();
        auto returned = std::make_shared<std::atomic<bool>>(false);
        PdfLoad load(view(), slides);
        load.setDeadline(50);
        load.setOpener(
            [release, returned](const QByteArray &bytes, const QString &password, PdfRefusal *why) {
                release->acquire();
                auto source = PdfSource::open(bytes, password, why);
                *returned = true;
                return source;
            });
        QSignalSpy finished(&load, &PdfLoad::signal_Finished);
        load.start();
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(load.error().contains(QStringLiteral("too long")));
        release->release();
        QTRY_VERIFY(returned->load());
        QCoreApplication::sendPostedEvents();
        QCOMPARE(doc().pageCount(), 0);
        QCOMPARE(finished.size(), 1);
    }
};

QTEST_MAIN(TestPdfLoad)
#include "test_pdfload.moc"
