#include "app/appstate.h"
#include "mainwindow/exportbtn.h"
#include "mainwindow/exportdlg.h"
#include "swatch.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "x11probe.h"

#include <QPainter>
#include <QProcess>
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

    static QString run(const QStringList &arguments)
    {
        QProcess xdotool;
        xdotool.start(QStringLiteral("xdotool"), arguments);
        xdotool.waitForFinished(20000);
        return QString::fromLocal8Bit(xdotool.readAllStandardOutput()).trimmed();
    }

    // Client windows of the program whose root geometry covers the screen.
    static bool fullScreenClientShown(const X11Probe &x11, xcb_window_t except)
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QList<quint32> clients
            = x11.cardinals(x11.rootWindow(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        for (quint32 client : clients) {
            if (client != except && x11.rootGeometry(client) == screen)
                return true;
        }
        return false;
    }

    // Where the Pen button's centre lies in the toolbar window, laid out by
    // the same code the program runs.
    static QPoint penButtonOffset()
    {
        ToolWidget layout;
        // Layouts settle only when shown.
        layout.setAttribute(Qt::WA_DontShowOnScreen);
        layout.show();
        ToolWidgetBtn *pen = layout.button(ToolWidget::Pen);
        return pen->mapTo(&layout, pen->rect().center());
    }

    // A visible window of that exact name, or an empty string.
    static QString findWindow(const QString &strName)
    {
        return run({ QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                     QStringLiteral("--name"), QStringLiteral("^%1$").arg(strName) })
            .section(QLatin1Char('\n'), 0, 0);
    }

    static QString findToolbar()
    {
        return run({ QStringLiteral("search"), QStringLiteral("--sync"),
                     QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                     QStringLiteral("Quillbury Tavelmark") })
            .section(QLatin1Char('\n'), 0, 0);
    }

    static QString point(int v) { return QString::number(v); }

    // Presses at `from`, moves in steps to `to` and releases, as a hand does.
    static void drawLine(const QPoint &from, const QPoint &to)
    {
        QStringList args = { QStringLiteral("mousemove"), point(from.x()), point(from.y()),
                             QStringLiteral("mousedown"), QStringLiteral("1") };
        for (int i = 1; i <= 10; ++i) {
            const QPoint p = from + (to - from) * i / 10;
            args << QStringLiteral("mousemove") << point(p.x()) << point(p.y());
        }
        args << QStringLiteral("mouseup") << QStringLiteral("1");
        run(args);
    }

    static QColor shownAt(const QPoint &p)
    {
        return QGuiApplication::primaryScreen()->grabWindow(0, p.x(), p.y(), 1, 1)
            .toImage()
            .pixelColor(0, 0);
    }

    // A pixel of ink: far from the backdrop's colour.
    static bool inked(const QPoint &p, const QColor &backdrop)
    {
        const QColor c = shownAt(p);
        return qAbs(c.red() - backdrop.red()) + qAbs(c.green() - backdrop.green())
            + qAbs(c.blue() - backdrop.blue())
            > 120;
    }

    void startProgram(QProcess &program)
    {
        QDir().mkpath(env->dataFolder());
        QFile ini(env->dataFolder() + QStringLiteral("/Setting.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[UserInterface]\nLanguage=en_GB\nCaptureDelay=200\nShowTrayIcon=0\n");
        ini.close();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TAV_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TAV_PROGRAM), {});
        QVERIFY(program.waitForStarted());
    }

    // Where a widget's centre lies in its dialog, laid out by the program's
    // own code.
    template<class Dialog, class Part>
    static QPoint partOffset(Dialog &dialog, int index)
    {
        dialog.setAttribute(Qt::WA_DontShowOnScreen);
        dialog.show();
        const Part *part = dialog.template findChildren<Part *>().value(index);
        return part ? part->mapTo(&dialog, part->rect().center()) : QPoint();
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
        const QPoint offset = penButtonOffset();

        QDir().mkpath(env->dataFolder());
        QFile ini(env->dataFolder() + QStringLiteral("/Setting.ini"));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[UserInterface]\nLanguage=en_GB\nCaptureDelay=200\nShowTrayIcon=0\n");
        ini.close();

        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("TAV_PLATFORM"));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(TAV_PROGRAM), {});
        QVERIFY(program.waitForStarted());

        const QString toolbar = run({ QStringLiteral("search"), QStringLiteral("--sync"),
                                      QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                      QStringLiteral("Quillbury Tavelmark") })
                                    .section(QLatin1Char('\n'), 0, 0);
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        const QRect toolbarRect = x11.rootGeometry(toolbar.toUInt());
        QCOMPARE(toolbarRect.left(), 0); // first placement: left edge
        QVERIFY(qAbs(toolbarRect.center().y()
                     - QGuiApplication::primaryScreen()->geometry().center().y())
                <= 1);

        const QPoint pen = toolbarRect.topLeft() + offset;
        run({ QStringLiteral("mousemove"), QString::number(pen.x()), QString::number(pen.y()),
              QStringLiteral("click"), QStringLiteral("1") });
        QTRY_VERIFY_WITH_TIMEOUT(fullScreenClientShown(x11, xcb_window_t(swatch.winId())), 15000);

        // Our window goes; the page still shows it, since it is a picture.
        swatch.hide();
        QTRY_COMPARE_WITH_TIMEOUT(
            QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(centre), magenta,
            10000);

        run({ QStringLiteral("key"), QStringLiteral("Escape") });
        QTRY_VERIFY_WITH_TIMEOUT(!fullScreenClientShown(x11, 0), 10000);
        QVERIFY(QGuiApplication::primaryScreen()->grabWindow(0).toImage().pixelColor(centre)
                != magenta);
        // Back on the desktop the toolbar is a new window of its own.
        const QString again = run({ QStringLiteral("search"), QStringLiteral("--sync"),
                                    QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                    QStringLiteral("Quillbury Tavelmark") })
                                  .section(QLatin1Char('\n'), 0, 0);
        QVERIFY(!again.isEmpty());

        // A desktop tool from the toolbar's keys: the rectangle capture covers
        // the screen and Escape gives the desktop and the toolbar back.
        run({ QStringLiteral("windowactivate"), QStringLiteral("--sync"), again });
        run({ QStringLiteral("key"), QStringLiteral("alt+0") });
        QTRY_VERIFY_WITH_TIMEOUT(fullScreenClientShown(x11, 0), 15000);
        run({ QStringLiteral("key"), QStringLiteral("Escape") });
        QTRY_VERIFY_WITH_TIMEOUT(!fullScreenClientShown(x11, 0), 10000);
        QVERIFY(!run({ QStringLiteral("search"), QStringLiteral("--sync"),
                       QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                       QStringLiteral("Quillbury Tavelmark") })
                     .isEmpty());

        // Closing now would ask about the modified page; that flow has its own tests.
        program.kill();
        QVERIFY(program.waitForFinished(15000));
    }

    // A lesson as a teacher gives it: the pen chosen by its key and by a
    // click, drawing with the mouse, Clear Page, a number stamp, an export of
    // every page, and Exit, which then has nothing left to ask.
    void lessonFromPenToExit()
    {
        X11Probe x11;
        const QColor backdrop(40, 120, 200);
        Swatch swatch(backdrop);
        swatch.setGeometry(QGuiApplication::primaryScreen()->geometry());
        swatch.show();
        QVERIFY(QTest::qWaitForWindowExposed(&swatch));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QPoint penOffset = penButtonOffset();
        QProcess program;
        startProgram(program);
        const QString toolbar = findToolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        const QRect bar = x11.rootGeometry(toolbar.toUInt());

        // The pen by its key, given to the toolbar clicked on its title strip.
        run({ QStringLiteral("mousemove"), point(bar.left() + bar.width() * 2 / 3),
              point(bar.top() + 5), QStringLiteral("click"), QStringLiteral("1") });
        run({ QStringLiteral("key"), QStringLiteral("ctrl+2") });
        QTRY_VERIFY_WITH_TIMEOUT(fullScreenClientShown(x11, xcb_window_t(swatch.winId())), 15000);
        drawLine(QPoint(400, 300), QPoint(800, 300));
        QTRY_VERIFY_WITH_TIMEOUT(inked(QPoint(600, 300), backdrop), 5000);

        // Back on the desktop, the pen by a click.
        run({ QStringLiteral("key"), QStringLiteral("Escape") });
        QTRY_VERIFY_WITH_TIMEOUT(!fullScreenClientShown(x11, xcb_window_t(swatch.winId())),
                                 10000);
        const QPoint pen = x11.rootGeometry(findToolbar().toUInt()).topLeft() + penOffset;
        run({ QStringLiteral("mousemove"), point(pen.x()), point(pen.y()), QStringLiteral("click"),
              QStringLiteral("1") });
        QTRY_VERIFY_WITH_TIMEOUT(fullScreenClientShown(x11, xcb_window_t(swatch.winId())), 15000);
        drawLine(QPoint(400, 700), QPoint(800, 700));
        QTRY_VERIFY_WITH_TIMEOUT(inked(QPoint(600, 700), backdrop), 5000);

        // Clear Page takes the strokes off the screen at once.
        run({ QStringLiteral("key"), QStringLiteral("ctrl+l") });
        QTRY_VERIFY_WITH_TIMEOUT(!inked(QPoint(600, 700), backdrop), 5000);

        // A number stamp shows in the middle of the page.
        run({ QStringLiteral("key"), QStringLiteral("ctrl+shift+2") });
        QTRY_VERIFY_WITH_TIMEOUT(!findWindow(QStringLiteral("Number Input")).isEmpty(), 10000);
        run({ QStringLiteral("key"), QStringLiteral("Return") });
        QTRY_VERIFY_WITH_TIMEOUT(inked(screen.center(), backdrop), 5000);

        // Every page exported as one PDF; then Exit asks nothing.
        ExportDlg layout(nullptr, nullptr);
        const QPoint pdfOffset = partOffset<ExportDlg, ExportBtn>(layout, 4);
        run({ QStringLiteral("key"), QStringLiteral("ctrl+s") });
        QString exportWindow;
        QTRY_VERIFY_WITH_TIMEOUT(!(exportWindow = findWindow(QStringLiteral("Save"))).isEmpty(),
                                 10000);
        const QPoint pdf = x11.rootGeometry(exportWindow.toUInt()).topLeft() + pdfOffset;
        run({ QStringLiteral("mousemove"), point(pdf.x()), point(pdf.y()), QStringLiteral("click"),
              QStringLiteral("1") });
        const QString file = env->path(QStringLiteral("lesson.pdf"));
        QTRY_VERIFY_WITH_TIMEOUT(findWindow(QStringLiteral("Save")) != exportWindow
                                     && !findWindow(QStringLiteral("Save")).isEmpty(),
                                 10000);
        run({ QStringLiteral("key"), QStringLiteral("ctrl+a") });
        run({ QStringLiteral("type"), file });
        run({ QStringLiteral("key"), QStringLiteral("Return") });
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(file), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(findWindow(QStringLiteral("Save")).isEmpty(), 10000);
        run({ QStringLiteral("key"), QStringLiteral("ctrl+q") });
        QVERIFY2(program.waitForFinished(10000), "Exit asked a question after the export");
        QCOMPARE(program.exitCode(), 0);
    }
};

QTEST_MAIN(TestProgramX11)
#include "test_program_x11.moc"
