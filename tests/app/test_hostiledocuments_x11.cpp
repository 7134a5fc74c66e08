#include "realprogram.h"
#include "slidepdf.h"
#include "testenvironment.h"
#include "zippedbytes.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QScreen>
#include <QtTest>

#include <memory>

// A document made to crash the program, opened from the command line as a
// file manager opens it: the program stays, says what it left out, and
// shows the rest of the page.
class TestHostileDocumentsX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static bool redAt(const QPoint &p)
    {
        const QColor c = QGuiApplication::primaryScreen()
                             ->grabWindow(0, p.x(), p.y(), 1, 1)
                             .toImage()
                             .pixelColor(0, 0);
        return c.red() > 200 && c.green() < 60 && c.blue() < 60;
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    // Its text held tables 3,000 deep, which overflowed the layout's stack
    // when the page was first shown.
    void nestedTablesLeaveTheTextOut()
    {
        RealProgram program(*env);
        QVERIFY(program.start(
            {}, { QStringLiteral(TAV_TEST_DATA "/hostile/nested-tables-3000.tavelmark") }));
        TAV_TRY_VERIFY(
            RealProgram::windowCount(QStringLiteral("nested-tables-3000 - Quillbury Tavelmark"))
                == 1,
            15000);
        // The message that some of it was left out, over the page.
        TAV_TRY_VERIFY(RealProgram::windowCount(QStringLiteral("Quillbury Tavelmark")) == 1, 15000);
        RealProgram::key(QStringLiteral("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(RealProgram::windowCount(QStringLiteral("Quillbury Tavelmark")),
                                  0, 10000);
        // The 400 x 300 page is shown unscaled in the middle of the screen;
        // its stroke runs along y = 250.
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QPoint page = screen.center() - QPoint(200, 150);
        TAV_TRY_VERIFY(redAt(page + QPoint(200, 250)), 10000);
        QCOMPARE(program.program.state(), QProcess::Running);
    }

    // Its PDF's page tree held itself, on which the PDF library loops for
    // ever: the document never came and nothing was said.
    void endlessPdfIsRefused()
    {
        const QString pdf = QStringLiteral("pdfs/loop.pdf");
        const QJsonObject page { { "size", QJsonArray { 400, 300 } },
                                 { "pixelSize", QJsonArray { 400, 300 } },
                                 { "pixelRatio", 1 },
                                 { "background", "pdf" },
                                 { "colour", "#ffffffff" },
                                 { "pdf", pdf },
                                 { "pdfPage", 0 },
                                 { "objects", QJsonArray() } };
        const QJsonObject root { { "format", "tavelmark" },
                                 { "version", QJsonArray { 2, 0 } },
                                 { "pdfs", QJsonArray { QJsonObject { { "file", pdf } } } },
                                 { "pages", QJsonArray { page } } };
        const QString file = env->path(QStringLiteral("loop.tavelmark"));
        QVERIFY(
            writeFile(file,
                      zipped({ { QStringLiteral("manifest.json"), QJsonDocument(root).toJson() },
                               { pdf, SlidePdf::selfHoldingTree() } })));

        RealProgram program(*env);
        QVERIFY(program.start({}, { file }));
        // The refusal, said over the desktop beside the toolbar, which
        // bears the program's name too.
        TAV_TRY_VERIFY(RealProgram::windowCount(QStringLiteral("Quillbury Tavelmark")) == 2, 30000);
        RealProgram::key(QStringLiteral("Return"));
        QTRY_COMPARE_WITH_TIMEOUT(RealProgram::windowCount(QStringLiteral("Quillbury Tavelmark")),
                                  1, 10000);
        QCOMPARE(RealProgram::windowCount(QStringLiteral("loop - Quillbury Tavelmark")), 0);
        QCOMPARE(program.program.state(), QProcess::Running);
    }
};

QTEST_MAIN(TestHostileDocumentsX11)
#include "test_hostiledocuments_x11.moc"
