#include "app/appstate.h"
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
// a desktop tool started by its key covers the screen until Escape.
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
};

QTEST_MAIN(TestProgramX11)
#include "test_program_x11.moc"
