#include "realprogram.h"
#include "testenvironment.h"
#include "x11probe.h"

#include <QScreen>
#include <QtTest>

#include <memory>

// The real program answers the keys its menus show, on a page and from the
// toolbar on the desktop alike: Ctrl+I asks for a picture on a page, and
// Ctrl+Shift+S, typed to the toolbar, asks where to save the document.
class TestShortcutsX11 : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;

    static bool pageShown(const X11Probe &x11)
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QList<quint32> clients
            = x11.cardinals(x11.rootWindow(), "_NET_CLIENT_LIST_STACKING", XCB_ATOM_WINDOW);
        for (quint32 client : clients) {
            if (x11.rootGeometry(client) == screen)
                return true;
        }
        return false;
    }

    static bool windowShown(const QString &strName)
    {
        return !RealProgram::xdotool(
                    { QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                      QStringLiteral("--name"),
                      QStringLiteral("^%1$").arg(QRegularExpression::escape(strName)) })
                    .isEmpty();
    }

    static void focusToolbar(const QString &strToolbar)
    {
        RealProgram::xdotool(
            { QStringLiteral("windowactivate"), QStringLiteral("--sync"), strToolbar });
    }

private Q_SLOTS:
    void init() { env = std::make_unique<TestEnvironment>(); }
    void cleanup() { env.reset(); }

    void menuKeysWorkOnAPageAndFromTheToolbar()
    {
        X11Probe x11;
        RealProgram program(*env);
        QVERIFY(program.start({}));
        const QString toolbar = program.toolbar();
        QVERIFY2(!toolbar.isEmpty(), "the toolbar never showed");
        focusToolbar(toolbar);
        RealProgram::key(QStringLiteral("ctrl+2"));
        TAV_TRY_VERIFY(RealProgram::fullScreenClientShown(x11, 0), 15000);

        // On the page: the picture to insert is asked for.
        RealProgram::key(QStringLiteral("ctrl+i"));
        TAV_TRY_VERIFY(windowShown(QStringLiteral("Open")), 15000);
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!windowShown(QStringLiteral("Open")), 10000);
        TAV_TRY_VERIFY(!RealProgram::fullScreenClientShown(x11, 0), 10000);

        // On the desktop, with the page kept: the toolbar answers the keys of
        // the document commands.
        const QString again = program.toolbar();
        QVERIFY(!again.isEmpty());
        focusToolbar(again);
        RealProgram::key(QStringLiteral("ctrl+shift+s"));
        TAV_TRY_VERIFY(windowShown(QStringLiteral("Save Document As...")), 15000);
        RealProgram::key(QStringLiteral("Escape"));
        TAV_TRY_VERIFY(!windowShown(QStringLiteral("Save Document As...")), 10000);
    }
};

QTEST_MAIN(TestShortcutsX11)
#include "test_shortcuts_x11.moc"
