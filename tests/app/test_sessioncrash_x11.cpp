#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/pdfsource.h"
#include "document/sessionreader.h"
#include "document/sessionwriter.h"
#include "realprogram.h"
#include "slidepdf.h"
#include "swatch.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QtTest>

#include <memory>

// The real program killed with SIGKILL while a user draws: the session is
// never damaged, it keeps every stroke the journal had written before the
// kill, and the next start restores it. A polite
// end (SIGTERM) asks nothing and comes back the same way. TAV_CRASH_RUNS
// sets the number of kills (a few by default; scripts/crash-runs.sh does 100).
class TestSessionCrashX11 : public QObject
{
    Q_OBJECT

    QTemporaryDir scratch;
    // A white desktop, where the black pen shows.
    Swatch backdrop { Qt::white };

    static int runs()
    {
        const int n = qEnvironmentVariableIntValue("TAV_CRASH_RUNS");
        return n > 0 ? n : 3;
    }

    static QString sessionFolder(const TestEnvironment &env)
    {
        return env.dataFolder() + QStringLiteral("/session");
    }

    // Objects on each page of the session; empty when it cannot be read.
    QList<int> sessionObjects(const TestEnvironment &env) const
    {
        // Each environment starts a fresh state: the copies go to our folder.
        AppState::instance().tempFolder = scratch.path() + QLatin1Char('/');
        DocumentReader reader(env.dataFolder() + QStringLiteral("/temp"));
        const QList<MainPage *> pages = SessionReader::read(sessionFolder(env), &reader);
        QList<int> counts;
        for (MainPage *page : pages)
            counts.append(int(page->objects.size()));
        qDeleteAll(pages);
        return counts;
    }

    // The PDF page each page shows (-1: none), as read from a file or the
    // session folder; empty when nothing can be read.
    static QList<int> pdfPages(const QList<MainPage *> &pages)
    {
        QList<int> shown;
        for (const MainPage *page : pages)
            shown.append(page->pdf ? page->pdfPage : -1);
        qDeleteAll(pages);
        return shown;
    }

    static int total(const QList<int> &counts)
    {
        int sum = 0;
        for (int c : counts)
            sum += c;
        return sum;
    }

    // Starts the program and opens a page with the pen.
    static bool startDrawing(RealProgram &program, const X11Probe &x11)
    {
        if (!program.start({}))
            return false;
        const QString toolbar = program.toolbar();
        if (toolbar.isEmpty())
            return false;
        RealProgram::click(x11.rootGeometry(toolbar.toUInt()).topLeft()
                           + RealProgram::penButtonOffset());
        return true;
    }

    // The next start asks; Yes (the default) restores the pages, and the
    // journal writes them again.
    bool restores(const TestEnvironment &env, const QList<int> &expected) const
    {
        RealProgram again(env);
        if (!again.start({}))
            return false;
        const QString recovered = env.dataFolder() + QStringLiteral("/recovered");
        bool asked = false;
        for (QDeadlineTimer deadline(30000); !deadline.hasExpired(); QTest::qWait(200)) {
            if (QFileInfo::exists(recovered)) {
                asked = true;
                RealProgram::key(QStringLiteral("Return"));
            } else if (asked && sessionObjects(env) == expected) {
                return true;
            }
        }
        return false;
    }

    // Random choices come from one seed, printed, and set again with
    // TAV_TEST_SEED to repeat a run.
    static quint32 seed()
    {
        const quint32 chosen = qEnvironmentVariableIsSet("TAV_TEST_SEED")
            ? quint32(qEnvironmentVariableIntValue("TAV_TEST_SEED"))
            : 20261208;
        qInfo("seed %u", chosen);
        return chosen;
    }

    static void drawStroke(const QRect &screen, int i)
    {
        const int y = screen.top() + 100 + (i * 23) % (screen.height() - 200);
        RealProgram::drag(QPoint(screen.left() + 300, y), QPoint(screen.left() + 700, y));
    }

private Q_SLOTS:
    void initTestCase()
    {
        AppState::instance().tempFolder = scratch.path() + QLatin1Char('/');
        backdrop.setGeometry(QGuiApplication::primaryScreen()->geometry());
        backdrop.show();
        QVERIFY(QTest::qWaitForWindowExposed(&backdrop));
    }

    // Strokes the journal has written are the state the kill must never take
    // back; the kill comes after a random number of further strokes, often
    // while the journal writes them.
    void killedWhileDrawing()
    {
        X11Probe x11;
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const quint32 chosen = seed();
        QRandomGenerator random(chosen);
        const QByteArray repeat = "TAV_TEST_SEED=" + QByteArray::number(chosen);
        for (int run = 0; run < runs(); ++run) {
            TestEnvironment env;
            const int kept = 1 + int(random.bounded(4));
            const int more = int(random.bounded(150));
            {
                RealProgram program(env);
                QVERIFY(startDrawing(program, x11));
                TAV_TRY_VERIFY(
                    RealProgram::fullScreenClientActive(x11, xcb_window_t(backdrop.winId())),
                    15000);
                for (int i = 0; i < kept; ++i)
                    drawStroke(screen, i);
                QTRY_COMPARE_WITH_TIMEOUT(total(sessionObjects(env)), kept, 30000);
                for (int i = 0; i < more; ++i)
                    drawStroke(screen, kept + i);
                program.program.kill();
                program.program.waitForFinished(10000);
            }
            const QList<int> found = sessionObjects(env);
            qInfo("run %d: %d strokes written, killed after %d more, %d in the session", run + 1,
                  kept, more, total(found));
            QVERIFY2(!found.isEmpty(), repeat.constData());
            QVERIFY2(total(found) >= kept, repeat.constData());
            QVERIFY2(total(found) <= kept + more, repeat.constData());
            QVERIFY2(restores(env, found), repeat.constData());
        }
    }

    // SIGTERM (a logout) ends at once without the close question; the next
    // start offers the pages back.
    void politeEndKeepsTheSession()
    {
        X11Probe x11;
        TestEnvironment env;
        {
            RealProgram program(env);
            QVERIFY(startDrawing(program, x11));
            TAV_TRY_VERIFY(RealProgram::fullScreenClientActive(x11, xcb_window_t(backdrop.winId())),
                           15000);
            const QPoint last(500, 400);
            const QColor before = RealProgram::shownAt(last);
            RealProgram::drag(QPoint(300, 300), QPoint(700, 300));
            RealProgram::drag(QPoint(300, 400), QPoint(700, 400));
            // A stroke shows while it is drawn but is kept only at its
            // release, which may still be on its way. Undo and Redo come
            // after it: the last stroke gone and back again means both were
            // taken.
            TAV_TRY_VERIFY(!RealProgram::nearColour(RealProgram::shownAt(last), before, 40), 10000);
            RealProgram::key(QStringLiteral("ctrl+z"));
            TAV_TRY_VERIFY(RealProgram::nearColour(RealProgram::shownAt(last), before, 40), 10000);
            RealProgram::key(QStringLiteral("ctrl+y"));
            TAV_TRY_VERIFY(!RealProgram::nearColour(RealProgram::shownAt(last), before, 40), 10000);
            program.program.terminate();
            QVERIFY2(program.program.waitForFinished(10000), "SIGTERM waited for a question");
            QCOMPARE(program.program.exitCode(), 0);
        }
        const QList<int> found = sessionObjects(env);
        QCOMPARE(found, QList<int> { 2 });
        QVERIFY(restores(env, found));
    }

    // Pages of a PDF opened from a document come back after a kill, their
    // PDF held once in the session, and are saved again whole.
    void pdfPagesComeBack()
    {
        TestEnvironment env;
        const QByteArray slides = SlidePdf::coloured(2);
        const std::shared_ptr<PdfSource> pdf = PdfSource::open(slides, QString());
        QVERIFY(pdf);
        QList<MainPage *> pages;
        for (int i = 0; i < 2; ++i) {
            pages.append(new MainPage(QSize(720, 405), false));
            pages.last()->background = MainPage::PdfBackground;
            pages.last()->pdf = pdf;
            pages.last()->pdfPage = 1 - i;
        }
        const QString document = env.path(QStringLiteral("slides.tavelmark"));
        QVERIFY(DocumentWriter().write(DocumentSnapshot::take(pages, 1), document,
                                       DocumentWriter::Embedded));
        qDeleteAll(pages);
        const auto session = [&] {
            AppState::instance().tempFolder = scratch.path() + QLatin1Char('/');
            DocumentReader reader(env.dataFolder() + QStringLiteral("/temp"));
            return pdfPages(SessionReader::read(sessionFolder(env), &reader));
        };
        {
            RealProgram program(env);
            QVERIFY(program.start({}, { document }));
            QTRY_COMPARE_WITH_TIMEOUT(session(), (QList<int> { 1, 0 }), 30000);
            program.program.kill();
            program.program.waitForFinished(10000);
        }
        QCOMPARE(QDir(sessionFolder(env)).entryList({ QStringLiteral("*.pdf") }),
                 QStringList { pdf->fileName() });
        QVERIFY(QFile::remove(document));

        RealProgram again(env);
        QVERIFY(again.start({}));
        TAV_TRY_VERIFY(QFileInfo::exists(env.dataFolder() + QStringLiteral("/recovered")), 30000);
        TAV_TRY_VERIFY(RealProgram::windowCount(QStringLiteral("Quillbury Tavelmark")) == 2, 30000);
        RealProgram::key(QStringLiteral("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(
            RealProgram::windowCount(QStringLiteral("slides - Quillbury Tavelmark")), 1, 30000);
        // Save Document writes where the pages were saved before the kill.
        RealProgram::key(QStringLiteral("ctrl+shift+s"));
        TAV_TRY_VERIFY(QFileInfo::exists(document), 30000);
        DocumentReader reader;
        QTRY_COMPARE_WITH_TIMEOUT(pdfPages(reader.read(document)), (QList<int> { 1, 0 }), 10000);
        QCOMPARE(again.program.state(), QProcess::Running);
    }
};

QTEST_MAIN(TestSessionCrashX11)
#include "test_sessioncrash_x11.moc"
