#include "commandoutput.h"
#include "realprogram.h"
#include "swatch.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// The real program on an X server with a window manager: the toolbar shows,
// a click on Pen captures the screen into a full-screen page, Escape returns;
// a desktop tool started by its key covers the screen until Escape; a whole
// lesson from the first stroke to Exit.
class TestProgramX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    // A pixel of ink: far from the backdrop's colour.
    static bool inked(const QPoint &p, const QColor &backdrop)
    {
        const QColor c = RealProgram::shownAt(p);
        return qAbs(c.red() - backdrop.red()) + qAbs(c.green() - backdrop.green())
            + qAbs(c.blue() - backdrop.blue())
            > 120;
    }

    // Pictures are kept without loss, each captured desktop once: its colour
    // comes back exactly; the drawings lie over it as vectors. The stroke is
    // on the last page.
    void checkHandout(const QString &strPdf, const QColor &backdrop)
    {
        const QStringList rows
            = QString::fromUtf8(
                  commandOutput(QStringLiteral("pdfimages"), { QStringLiteral("-list"), strPdf }))
                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                  .mid(2);
        int pages = 0;
        for (const QString &row : rows) {
            const QStringList columns = row.split(QLatin1Char(' '), Qt::SkipEmptyParts);
            QCOMPARE(columns.value(8), QStringLiteral("image"));
            pages += columns.value(3).toInt() == QGuiApplication::primaryScreen()->size().width();
        }
        QCOMPARE(pages, 2);
        const QString prefix = env->path(QStringLiteral("handout"));
        commandOutput(QStringLiteral("pdftoppm"),
                      { QStringLiteral("-png"), QStringLiteral("-singlefile"), QStringLiteral("-r"),
                        QStringLiteral("40"), QStringLiteral("-f"), QString::number(pages), strPdf,
                        prefix });
        const QImage page(prefix + QLatin1String(".png"));
        QVERIFY(!page.isNull());
        int exact = 0, ink = 0;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                const QColor c = page.pixelColor(x, y);
                exact += c == backdrop;
                ink += c != backdrop && c != QColor(Qt::white)
                    && qAbs(c.red() - backdrop.red()) + qAbs(c.blue() - backdrop.blue()) > 120;
            }
        }
        QVERIFY2(exact > page.width() * page.height() / 3, qPrintable(QString::number(exact)));
        QVERIFY2(ink > 20, qPrintable(QString::number(ink)));
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void penCapturesTheScreenAndEscapeReturns()
    {
        X11Probe x11;
        const QColor magenta(255, 0, 255);
        Swatch swatch(magenta);
        swatch.setGeometry(700, 300, 300, 200);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        const QPoint centre = swatch.geometry().center();
        const QPoint offset = RealProgram::penButtonOffset();

        RealProgram program(*env);
        QVERIFY(program.start({}));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        const QRect toolbarRect = x11.rootGeometry(toolbar.toUInt());
        QCOMPARE(toolbarRect.left(), 0); // first placement: left edge
        QVERIFY(qAbs(toolbarRect.center().y()
                     - QGuiApplication::primaryScreen()->geometry().center().y())
                <= 1);

        RealProgram::click(toolbarRect.topLeft() + offset);
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, xcb_window_t(swatch.winId())),
                       15000);

        // Our window goes; the page still shows it, since it is a picture.
        swatch.hide();
        QTRY_COMPARE_WITH_TIMEOUT(RealProgram::shownAt(centre), magenta, 10000);

        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);
        QVERIFY(RealProgram::shownAt(centre) != magenta);
        // Back on the desktop the toolbar is a new window of its own.
        const QString again = program.toolbar();
        QVERIFY(!again.isEmpty());

        // A desktop tool from the toolbar's keys: the rectangle capture covers
        // the screen and Escape gives the desktop and the toolbar back.
        RealProgram::xdotool({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), again });
        RealProgram::key(QStringLiteral("alt+0"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);
        QVERIFY(!program.toolbar().isEmpty());
    }

    // A lesson as a teacher gives it: the pen chosen by its key and by a
    // click, drawing with the mouse, Clear Page, a stroke taken back by the
    // right button, a number stamp, an export of
    // every page, and Exit, which then has nothing left to ask. The session
    // journal needs no ZIP support: it is not loaded for drawing.
    void lessonFromPenToExit()
    {
        X11Probe x11;
        const QColor backdrop(40, 120, 200);
        Swatch swatch(backdrop);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        swatch.setGeometry(screen);
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        const xcb_window_t backdropWindow = xcb_window_t(swatch.winId());
        RealProgram program(*env);
        QVERIFY(program.start({}));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        QVERIFY(program.maps(QStringLiteral("libQt6Widgets")));
        QVERIFY(!program.maps(QStringLiteral("libquazip")));
        QVERIFY(!program.maps(QStringLiteral("libtavelmark_zip")));
        const QRect bar = x11.rootGeometry(toolbar.toUInt());

        // The pen by its key, given to the toolbar clicked on its title strip.
        RealProgram::click(QPoint(bar.left() + bar.width() * 2 / 3, bar.top() + 5));
        RealProgram::key(QStringLiteral("ctrl+2"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientActive(x11, backdropWindow), 15000);
        RealProgram::drag(QPoint(400, 300), QPoint(800, 300));
        TAV_TRY_VERIFY(inked(QPoint(600, 300), backdrop), 5000);
        TAV_TRY_VERIFY(QFile::exists(env->dataFolder() + QStringLiteral("/session/session.json")),
                       10000);
        QVERIFY(!program.maps(QStringLiteral("libtavelmark_zip")));

        // Back on the desktop, the pen by a click.
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, backdropWindow), 10000);
        RealProgram::click(x11.rootGeometry(program.toolbar().toUInt()).topLeft()
                           + RealProgram::penButtonOffset());
        TAV_TRY_VERIFY(RealProgram::fullScreenClientActive(x11, backdropWindow), 15000);
        RealProgram::drag(QPoint(400, 700), QPoint(800, 700));
        TAV_TRY_VERIFY(inked(QPoint(600, 700), backdrop), 5000);

        // Clear Page takes the strokes off the screen at once.
        RealProgram::key(QStringLiteral("ctrl+l"));
        TAV_TRY_VERIFY(!inked(QPoint(600, 700), backdrop), 5000);

        // The right button pressed in the middle of a stroke takes it back.
        auto mouse = [](const QString &action, const QString &what) {
            RealProgram::xdotool({ action, what });
        };
        RealProgram::xdotool(
            { QStringLiteral("mousemove"), QStringLiteral("400"), QStringLiteral("500") });
        mouse(QStringLiteral("mousedown"), QStringLiteral("1"));
        for (int x = 450; x <= 800; x += 50)
            RealProgram::xdotool(
                { QStringLiteral("mousemove"), QString::number(x), QStringLiteral("500") });
        TAV_TRY_VERIFY(inked(QPoint(600, 500), backdrop), 5000);
        mouse(QStringLiteral("mousedown"), QStringLiteral("3"));
        mouse(QStringLiteral("mouseup"), QStringLiteral("3"));
        RealProgram::xdotool(
            { QStringLiteral("mousemove"), QStringLiteral("820"), QStringLiteral("500") });
        mouse(QStringLiteral("mouseup"), QStringLiteral("1"));
        TAV_TRY_VERIFY(!inked(QPoint(600, 500), backdrop), 5000);

        // A number stamp shows in the middle of the page.
        RealProgram::key(QStringLiteral("ctrl+shift+2"));
        TAV_TRY_VERIFY(!RealProgram::findWindow(QStringLiteral("Number Input")).isEmpty(), 10000);
        RealProgram::key(QStringLiteral("Return"));
        TAV_TRY_VERIFY(inked(screen.center(), backdrop), 5000);

        // A stroke to hand out.
        RealProgram::drag(QPoint(400, 300), QPoint(800, 300));
        TAV_TRY_VERIFY(inked(QPoint(600, 300), backdrop), 5000);

        // Every page exported as one PDF; then Exit asks nothing.
        const QString file = env->path(QStringLiteral("lesson.pdf"));
        RealProgram::exportPdf(x11, file);
        QVERIFY(!QTest::currentTestFailed());
        checkHandout(file, backdrop);
        RealProgram::key(QStringLiteral("ctrl+q"));
        QVERIFY2(program.program.waitForFinished(10000), "Exit asked a question after the export");
        QCOMPARE(program.program.exitCode(), 0);
    }
};

QTEST_MAIN(TestProgramX11)
#include "test_program_x11.moc"
