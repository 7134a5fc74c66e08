#include "app/appstate.h"
#include "commandoutput.h"
#include "document/documentreader.h"
#include "document/documentsnapshot.h"
#include "document/documentwriter.h"
#include "document/mainpage.h"
#include "document/pagerenderer.h"
#include "realprogram.h"
#include "swatch.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QPainter>
#include <QScreen>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

// Lessons kept in files by the real program, as a teacher keeps them: typed
// text stays one line in the saved document, in a document opened from the
// command line and in an exported ZIP; the close question saves the editable
// document, also while a long one is still being saved; what is written can
// be read by others.
class TestLessonFilesX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    const QColor backdrop { 40, 120, 200 };
    // Where the typed text lies on the page, with room around it.
    const QRect textArea { 280, 280, 700, 140 };

    static QImage shown(const QRect &r)
    {
        return QGuiApplication::primaryScreen()
            ->grabWindow(0, r.x(), r.y(), r.width(), r.height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }

    static int differingPixels(const QImage &a, const QImage &b)
    {
        if (a.size() != b.size())
            return a.width() * a.height();
        int n = 0;
        for (int y = 0; y < a.height(); ++y)
            for (int x = 0; x < a.width(); ++x)
                n += a.pixel(x, y) != b.pixel(x, y) ? 1 : 0;
        return n;
    }

    int inkedRows(const QImage &image) const
    {
        int rows = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (QColor(image.pixel(x, y)) != backdrop) {
                    ++rows;
                    break;
                }
        return rows;
    }

    // Types a file's path into the file dialog that has the focus.
    static void answerFileDialog(const QString &strPath)
    {
        RealProgram::key(QStringLiteral("ctrl+a"));
        RealProgram::xdotool({ QStringLiteral("type"), strPath });
        RealProgram::key(QStringLiteral("Return"));
    }

    static QFile::Permissions modeOf(const QString &strPath)
    {
        return QFile::permissions(strPath) & QFile::Permissions(0x7077);
    }

    // `count` pages of the screen's size, each with a picture of its own in
    // the backdrop's colour and a few strokes.
    QString longDocument(const QString &strName, int count) const
    {
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        QList<MainPage *> pages;
        for (int i = 0; i < count; ++i) {
            auto *page = new MainPage(size, false);
            QImage picture(size, QImage::Format_RGB32);
            picture.fill(backdrop);
            QPainter(&picture).fillRect(QRect(40 + i * 8, 40, 200, 120), QColor(i * 6, 200, 90));
            picture.save(MainPage::backgroundFile(page->id));
            page->background = MainPage::PictureBackground;
            pages.append(page);
        }
        const QString file = env->path(strName);
        const bool written = DocumentWriter().write(DocumentSnapshot::take(pages, 1), file,
                                                    DocumentWriter::Embedded);
        qDeleteAll(pages);
        return written ? file : QString();
    }

    static QList<int> objectCounts(const QString &strFile)
    {
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(strFile);
        QList<int> counts;
        for (const MainPage *page : pages)
            counts.append(int(page->objects.size()));
        qDeleteAll(pages);
        return counts;
    }

private Q_SLOTS:
    void initTestCase() { ::umask(022); }
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void typedTextSurvivesTheCloseQuestionAndExports()
    {
        X11Probe x11;
        Swatch swatch(backdrop);
        swatch.setGeometry(QGuiApplication::primaryScreen()->geometry());
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        const xcb_window_t backdropWindow = xcb_window_t(swatch.winId());
        const QString document = env->path(QStringLiteral("lesson.tavelmark"));
        QImage typed;
        {
            RealProgram program(*env);
            QVERIFY(program.start({}));
            const QString toolbar = program.toolbar();
            QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
            RealProgram::click(x11.rootGeometry(toolbar.toUInt()).topLeft()
                               + RealProgram::penButtonOffset());
            TAV_TRY_VERIFY(RealProgram::fullScreenClientActive(x11, backdropWindow), 15000);
            RealProgram::key(QStringLiteral("ctrl+7"));
            RealProgram::click(textArea.topLeft() + QPoint(20, 20));
            RealProgram::xdotool({ QStringLiteral("type"), QStringLiteral("Sharp Text 123") });
            RealProgram::click(QPoint(300, 800));
            // Settled: two grabs in a row show the same text.
            QImage last;
            TAV_TRY_VERIFY(
                [&] {
                    const QImage now = shown(textArea);
                    const bool same = now == last && inkedRows(now) > 10;
                    last = now;
                    return same;
                }(),
                10000);
            typed = last;
            const int lineHeight = QFontMetrics(QFont(QStringLiteral("Arial"), 24)).height();
            QVERIFY(inkedRows(typed) < 2 * lineHeight);

            // Exit asks; Save, its default, leads to the editable document.
            const int before = RealProgram::windowCount(MessageBoxTitle);
            RealProgram::key(QStringLiteral("ctrl+q"));
            TAV_TRY_VERIFY(RealProgram::windowCount(MessageBoxTitle) > before, 10000);
            RealProgram::key(QStringLiteral("Return"));
            TAV_TRY_VERIFY(
                !RealProgram::findWindow(QStringLiteral("Save Document As...")).isEmpty(), 10000);
            answerFileDialog(document);
            QVERIFY2(program.program.waitForFinished(15000), "the program did not end");
        }
        QVERIFY(QFile::exists(document));
        QCOMPARE(modeOf(document),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        DocumentReader reader;
        const QList<MainPage *> pages = reader.read(document);
        QCOMPARE(pages.size(), 1);
        const QImage rendered = PageRenderer::renderPage(PageRenderer::snapshot(pages.first()))
                                    .copy(textArea)
                                    .convertToFormat(QImage::Format_RGB32);
        qDeleteAll(pages);
        QCOMPARE(differingPixels(rendered, typed), 0);

        // Opened from the command line, then exported as a ZIP of pictures.
        RealProgram program(*env);
        QVERIFY(program.start({}, { document }));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientActive(x11, backdropWindow), 15000);
        QTRY_COMPARE_WITH_TIMEOUT(differingPixels(shown(textArea), typed), 0, 10000);
        const QString zip = env->path(QStringLiteral("pages.zip"));
        RealProgram::exportPngZip(x11, zip);
        QVERIFY(!QTest::currentTestFailed());
        QCOMPARE(modeOf(zip),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        const QString unpacked = env->path(QStringLiteral("unpacked"));
        commandOutput(QStringLiteral("unzip"),
                      { QStringLiteral("-q"), zip, QStringLiteral("-d"), unpacked });
        const QStringList files = QDir(unpacked).entryList(QDir::Files);
        QCOMPARE(files.size(), 1);
        const QString picture = QDir(unpacked).filePath(files.first());
        QVERIFY(modeOf(picture) & QFile::ReadOther);
        const QImage exported
            = QImage(picture).copy(textArea).convertToFormat(QImage::Format_RGB32);
        QCOMPARE(differingPixels(exported, typed), 0);
    }

    // Save Document of a long document runs while the program goes on: a
    // stroke drawn meanwhile and the close asked right after wait for it;
    // the question then saves that stroke too, and the program ends with
    // every page and both strokes in the file.
    void longDocumentClosedWhileItIsSaved()
    {
        AppState::instance().tempFolder = env->path(QStringLiteral("made/"));
        QVERIFY(QDir().mkpath(AppState::instance().tempFolder));
        const QString document = longDocument(QStringLiteral("long.tavelmark"), 40);
        QVERIFY(!document.isEmpty());
        RealProgram program(*env);
        QVERIFY(program.start({}, { document }));
        const QColor first(0, 200, 90);
        TAV_TRY_VERIFY(RealProgram::nearColour(RealProgram::shownAt(QPoint(100, 100)), first, 8),
                       15000);
        RealProgram::drag(QPoint(300, 500), QPoint(700, 560));
        RealProgram::key(QStringLiteral("ctrl+shift+s"));
        RealProgram::drag(QPoint(300, 600), QPoint(700, 660));
        const int before = RealProgram::windowCount(MessageBoxTitle);
        RealProgram::key(QStringLiteral("ctrl+q"));
        TAV_TRY_VERIFY(RealProgram::windowCount(MessageBoxTitle) > before, 15000);
        RealProgram::key(QStringLiteral("Return"));
        QVERIFY2(program.program.waitForFinished(30000), "the program did not end");
        const QList<int> counts = objectCounts(document);
        QCOMPARE(counts.size(), 40);
        QCOMPARE(counts.first(), 2);
    }

private:
    const QString MessageBoxTitle = QStringLiteral("Quillbury Tavelmark");
};

QTEST_MAIN(TestLessonFilesX11)
#include "test_lessonfiles_x11.moc"
