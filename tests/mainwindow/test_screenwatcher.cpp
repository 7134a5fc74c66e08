#include "app/screeninuse.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "mainwindow/mainwindow.h"
#include "offscreenscreens.h"
#include "platform/platform.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"
#include "widgets/fullscreendialog.h"

#include <QApplication>
#include <QScreen>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// The screen in use on two screens of different sizes: chosen in one place,
// followed by every window and page that depends on it.
class TestScreenWatcher : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    static QScreen *screenAt(int index) { return QGuiApplication::screens().at(index); }

    // Drags the toolbar by its title strip so that its grip lands on `to`.
    static void dragToolbar(ToolWidget *bar, const QPoint &to)
    {
        const QPoint grip = bar->mapToGlobal(QPoint(42, 10));
        for (const auto &[action, at] :
             { std::pair(QTest::MousePress, grip), std::pair(QTest::MouseMove, to),
               std::pair(QTest::MouseRelease, to) })
            QTest::mouseEvent(action, bar, Qt::LeftButton, {}, bar->mapFromGlobal(at));
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        window->toolbar()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window->toolbar()));
    }

    void cleanup()
    {
        window.reset();
        env.reset();
        Platform::reset();
    }

    void toolbarDroppedOnAnotherScreenTakesEverythingThere()
    {
        QCOMPARE(ScreenInUse::screen(), QGuiApplication::primaryScreen());
        QSignalSpy changed(&ScreenInUse::instance(), &ScreenInUse::changed);
        ToolWidget *bar = window->toolbar();
        const QRect right = screenAt(1)->geometry();

        // Moved about on its screen, the toolbar changes nothing.
        dragToolbar(bar, QPoint(400, 100));
        QCOMPARE(changed.size(), 0);

        dragToolbar(bar, right.center());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(ScreenInUse::screen(), screenAt(1));
        QCOMPARE(ScreenInUse::index(), 1);
        QVERIFY(right.contains(bar->frameGeometry()));
        // Hidden, the drawing window already waits there for its dialogs.
        QCOMPARE(window->geometry(), right);

        window->SetDrawMode(true);
        QCOMPARE(window->geometry(), right);
        window->view()->newPage();
        QCOMPARE(window->view()->currentPage()->size, right.size());
        FullScreenDialog tool(nullptr);
        QCOMPARE(tool.geometry(), right);
    }
};

int main(int argc, char *argv[])
{
    return execOnScreens<TestScreenWatcher>(argc, argv, R"({ "screens": [
        { "name": "left", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96 },
        { "name": "right", "x": 800, "y": 0, "width": 1024, "height": 768, "logicalDpi": 96 } ] })");
}

#include "test_screenwatcher.moc"
