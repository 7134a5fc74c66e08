#include "app/appstate.h"
#include "app/settingsstore.h"
#include "canvas/mainview.h"
#include "canvas/presenterkit.h"
#include "canvas/spotlighttool.h"
#include "canvas/toolkit.h"
#include "dialogs/presenterprefs.h"
#include "document/mainpage.h"
#include "mainwindow/actiondispatcher.h"
#include "mainwindow/mainwindow.h"
#include "mainwindow/menubar.h"
#include "platform/platform.h"
#include "testenvironment.h"
#include "toolbar/fadinginkbox.h"
#include "toolbar/popupoptionwidget.h"
#include "toolbar/toolwidget.h"

#include <QKeyEvent>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QtTest>

#include <memory>

// The presenter tools as a user reaches them: the Tools menu, the tray
// menu, the command line's actions, Escape, the pen's option popup and
// Preferences, and their settings kept under "Presenter".
class TestPresenterCommands : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    ActionDispatcher *dispatcher = nullptr;

    static QStringList texts(const QList<QAction *> &actions)
    {
        QStringList result;
        for (const QAction *action : actions)
            result.append(action->text());
        return result;
    }
    static int currentTool() { return ToolKit::instance().currentToolId(); }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        window = std::make_unique<MainWindow>();
        dispatcher = new ActionDispatcher(window.get());
    }

    void cleanup()
    {
        window.reset();
        env.reset();
        Platform::reset();
    }

    void menusAndTrayOfferTheTools()
    {
        MenuBar *menu = window->menu();
        const QStringList tools = texts(menu->menuTools->actions());
        for (const char *text : { "Laser Pointer", "Spotlight", "Fading Ink" })
            QVERIFY2(tools.contains(QLatin1String(text)), text);
        const QList<QAction *> tray = window->trayContextMenu()->actions();
        for (QAction *action :
             { menu->actionLaserPointer, menu->actionSpotlight, menu->actionFadingInk })
            QVERIFY(tray.contains(action));
        QCOMPARE(menu->toolAction(ToolKit::Laser), menu->actionLaserPointer);
        QCOMPARE(menu->toolAction(ToolKit::Spotlight), menu->actionSpotlight);
        QCOMPARE(menu->toolAction(ToolKit::Drag), nullptr);
    }

    // From the desktop a pointer starts on a page of its own, as the pen
    // does; Escape ends it and returns to the desktop.
    void actionsChooseThePointersAndEscapeEndsThem()
    {
        QVERIFY(dispatcher->perform(QStringLiteral("laser-pointer")));
        QTRY_VERIFY(window->modes()->isDrawMode());
        QCOMPARE(currentTool(), int(ToolKit::Laser));
        QVERIFY(window->menu()->actionLaserPointer->isChecked());
        QCOMPARE(window->view()->document().pageCount(), 1);
        QVERIFY(dispatcher->perform(QStringLiteral("spotlight")));
        QCOMPARE(currentTool(), int(ToolKit::Spotlight));
        QVERIFY(window->menu()->actionSpotlight->isChecked());
        QVERIFY(!window->menu()->actionLaserPointer->isChecked());
        QCOMPARE(window->view()->document().pageCount(), 1);
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &escape);
        QCOMPARE(currentTool(), int(ToolKit::Mouse));
        QTRY_VERIFY(!window->modes()->isDrawMode());
        QVERIFY(window->view()->currentPage()->objects.isEmpty());
    }

    // The menu, the action and the pen popup's check show one mode.
    void fadingInkIsOneModeEverywhere()
    {
        PresenterKit &kit = PresenterKit::instance();
        QAction *menuEntry = window->menu()->actionFadingInk;
        QVERIFY(!kit.fadingInk() && !menuEntry->isChecked());
        QVERIFY(dispatcher->perform(QStringLiteral("fading-ink")));
        QVERIFY(kit.fadingInk() && menuEntry->isChecked());
        QTRY_VERIFY(window->modes()->isDrawMode());
        QCOMPARE(currentTool(), int(ToolKit::Pen));
        PopupOptionWidget popup(true, window->toolbar(), window.get());
        auto *box = popup.findChild<FadingInkBox *>();
        QVERIFY(box);
        QVERIFY(box->isChecked());
        box->click();
        QVERIFY(!kit.fadingInk() && !menuEntry->isChecked());
        menuEntry->trigger();
        QVERIFY(kit.fadingInk() && box->isChecked());
        QCOMPARE(currentTool(), int(ToolKit::Pen));
        // Other tools' popups have no such check.
        ToolKit::instance().setCurrentTool(ToolKit::Highlighter);
        PopupOptionWidget other(true, window->toolbar(), window.get());
        QVERIFY(!other.findChild<FadingInkBox *>());
    }

    void preferencesAndTheFileKeepTheSettings()
    {
        PresenterPrefs prefs;
        prefs.laserSizeBox()->setValue(24);
        prefs.fadeSecondsBox()->setValue(7);
        prefs.darknessBox()->setValue(80);
        PresenterSettings &s = AppState::instance().presenter;
        QCOMPARE(s.laserSize, 24);
        QCOMPARE(s.fadeSeconds, 7);
        QCOMPARE(s.spotlightOpacity, 80);
        QCOMPARE(prefs.fadeSecondsBox()->maximum(), 30);
        QCOMPARE(prefs.fadeSecondsBox()->minimum(), 1);
        s.laserColor = QColor(0, 200, 0);
        PresenterKit::instance().setFadingInk(true);
        window->slot_AboutToQuit_SaveINI();
        {
            QSettings ini(AppState::instance().iniPath, QSettings::IniFormat);
            QCOMPARE(ini.value(QStringLiteral("Presenter/LaserSize")).toInt(), 24);
            QCOMPARE(ini.value(QStringLiteral("Presenter/FadeSeconds")).toInt(), 7);
            QCOMPARE(ini.value(QStringLiteral("Presenter/SpotlightOpacity")).toInt(), 80);
            QCOMPARE(ini.value(QStringLiteral("Presenter/LaserColor")).toString(),
                     QStringLiteral("#00c800"));
            QCOMPARE(ini.value(QStringLiteral("Presenter/FadingInk")).toInt(), 1);
            // Values out of range come back within it.
            ini.setValue(QStringLiteral("Presenter/FadeSeconds"), 99);
            ini.setValue(QStringLiteral("Presenter/SpotlightRadius"), 5);
            ini.setValue(QStringLiteral("Presenter/LaserColor"), QStringLiteral("no colour"));
        }
        SettingsStore::load(96);
        QCOMPARE(s.fadeSeconds, 30);
        QCOMPARE(s.spotlightRadius, PresenterSettings::MinRadius);
        QCOMPARE(s.laserColor, QColor(Qt::red));
        QCOMPARE(s.laserSize, 24);
        prefs.restoreDefaults();
        QCOMPARE(s.laserSize, 16);
        QCOMPARE(s.fadeSeconds, 3);
        QCOMPARE(prefs.laserSizeBox()->value(), 16);
    }
};

QTEST_MAIN(TestPresenterCommands)
#include "test_presentercommands.moc"
