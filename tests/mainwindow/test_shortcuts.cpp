#include "app/appstate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "mainwindow/shortcuttable.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"

#include <QAction>
#include <QShortcut>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

// Every key of the shortcut table reaches its menu action exactly once, from
// the toolbar window in desktop mode and from the drawing window, which then
// holds the toolbar; no other key is bound.
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

    QAction *entryAction(const QString &strEntry) const
    {
        for (QMenu *menu : window->menu()->menus()) {
            for (QAction *action : menu->actions()) {
                if (action->text() == strEntry)
                    return action;
            }
        }
        return nullptr;
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
        window->view()->document().gotoPage(0);
        detachCommands();
    }

    void cleanup()
    {
        window.reset();
        env.reset();
    }

    void everyKeyOfTheTableFiresItsEntryOnceInBothModes_data()
    {
        QTest::addColumn<QKeySequence>("keys");
        QTest::addColumn<QString>("entry");
        for (const ShortcutTable::Row &row : ShortcutTable::rows()) {
            for (const QKeySequence &keys : row.sequences())
                QTest::newRow(qPrintable(keys.toString()))
                    << keys << QString::fromLatin1(row.entry);
        }
    }

    void everyKeyOfTheTableFiresItsEntryOnceInBothModes()
    {
        QFETCH(QKeySequence, keys);
        QFETCH(QString, entry);
        QAction *action = entryAction(entry);
        QVERIFY(action);
        action->setEnabled(true);

        enterDesktopMode();
        QCOMPARE(triggersFor(window->toolbar(), keys, action), 1);

        enterDrawingMode();
        QCOMPARE(triggersFor(window->toolbar(), keys, action), 1);
        QCOMPARE(triggersFor(window->view(), keys, action), 1);
    }

    // No window answers a key the table does not list, so the guide, which
    // prints the table, names every key there is.
    void noKeyOutsideTheTable()
    {
        QSet<QString> table;
        for (const ShortcutTable::Row &row : ShortcutTable::rows()) {
            for (const QKeySequence &keys : row.sequences())
                table.insert(keys.toString() + QLatin1Char(' ') + QLatin1String(row.entry));
        }
        QSet<QString> menuKeys;
        for (QAction *action : window->actions()) {
            for (const QKeySequence &keys : action->shortcuts())
                menuKeys.insert(keys.toString() + QLatin1Char(' ') + action->text());
        }
        QCOMPARE(menuKeys, table);
        QSet<QString> toolbarKeys;
        for (QShortcut *shortcut : window->toolbar()->findChildren<QShortcut *>())
            toolbarKeys.insert(shortcut->key().toString());
        QSet<QString> tableKeys;
        for (const QString &row : table)
            tableKeys.insert(row.section(QLatin1Char(' '), 0, 0));
        QCOMPARE(toolbarKeys, tableKeys);
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
