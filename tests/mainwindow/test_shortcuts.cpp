#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "mainwindow/mainshortcut.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"

#include <QAction>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// Every shortcut reaches its menu action exactly once, from the toolbar window
// in desktop mode and from the drawing window, which then holds the toolbar.
class TestShortcuts : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;

    // The actions are cut off from their commands so that only the routing
    // of the keys is seen.
    void detachCommands()
    {
        for (QMenu *menu : window->menu()->menus())
            for (QAction *action : menu->actions())
                disconnect(action, &QAction::triggered, window.get(), nullptr);
    }

    int triggersFor(QWidget *target, const QKeySequence &keys, QAction *action)
    {
        QSignalSpy spy(action, &QAction::triggered);
        QTest::keySequence(target, keys);
        return spy.count();
    }

    void enterDesktopMode()
    {
        window->SetDrawMode(false);
        QVERIFY(QTest::qWaitForWindowActive(window->toolbar()));
    }

    void enterDrawingMode()
    {
        window->SetDrawMode(true);
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        window->view()->newPage();
        window->view()->newPage();
        window->view()->gotoPage(0);
        detachCommands();
        window->menu()->actionUndo->setEnabled(true);
        window->menu()->actionRedo->setEnabled(true);
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void menuShortcutsFireOnceInBothModes_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("entry");
        const char *rows[][2] = {
            { "Ctrl+N", "New Blank Page" },
            { "Ctrl+Shift+N", "New FullScreen Capture" },
            { "Ctrl+O", "Open..." },
            { "Ctrl+S", "Save..." },
            { "Ctrl+W", "Close Current Page" },
            { "Ctrl+Shift+W", "Close All Pages" },
            { "Ctrl+Q", "Exit" },
            { "Ctrl+Z", "Undo" },
            { "Ctrl+Y", "Redo" },
            { "Ctrl+L", "Clear Page" },
            { "PgDown", "Next Page" },
            { "Ctrl+0", "Mouse" },
            { "Ctrl+2", "Pen" },
            { "Ctrl+7", "Text" },
            { "Ctrl+Shift+2", "Insert Number to Current Page..." },
            { "Ctrl+D", "Floating Draw Tool Options" },
            { "Alt+0", "Screen Capture (Rectangle)" },
            { "Alt+5", "Magnifier" },
            { "Alt+7", "Protractor" },
        };
        for (const auto &row : rows)
            QTest::newRow(row[0]) << QString::fromLatin1(row[0]) << QString::fromLatin1(row[1]);
    }

    void menuShortcutsFireOnceInBothModes()
    {
        QFETCH(QString, keys);
        QFETCH(QString, entry);
        QAction *action = nullptr;
        for (QMenu *menu : window->menu()->menus())
            for (QAction *candidate : menu->actions())
                if (candidate->text() == entry)
                    action = candidate;
        QVERIFY(action);

        enterDesktopMode();
        QCOMPARE(triggersFor(window->toolbar(), QKeySequence(keys), action), 1);

        enterDrawingMode();
        QCOMPARE(triggersFor(window->toolbar(), QKeySequence(keys), action), 1);
        QCOMPARE(triggersFor(window->view(), QKeySequence(keys), action), 1);
    }

    // The toolbar window keeps its own pairs for the insert entries.
    void toolbarInsertKeys()
    {
        MenuBar *menu = window->menu();
        enterDesktopMode();
        const QList<QPair<const char *, QAction *>> keys
            = { { "Ctrl+I", menu->actionInsertImage },
                { "Ctrl+Shift+1", menu->actionInsertImage },
                { "Ctrl+Shift+0", menu->actionInsertText } };
        for (const auto &[sequence, action] : keys)
            QCOMPARE(triggersFor(window->toolbar(), QKeySequence(sequence), action), 1);
    }

    void disabledCommandsIgnoreTheirKeys()
    {
        enterDesktopMode();
        window->menu()->actionUndo->setEnabled(false);
        QCOMPARE(triggersFor(window->toolbar(), QKeySequence("Ctrl+Z"), window->menu()->actionUndo),
                 0);
        // There is no previous area before the first capture.
        QAction *previous = window->menu()->previousAreaAction();
        QVERIFY(!previous->isEnabled());
        QCOMPARE(triggersFor(window->toolbar(), QKeySequence("Alt+3"), previous), 0);
    }
};

QTEST_MAIN(TestShortcuts)
#include "test_shortcuts.moc"
