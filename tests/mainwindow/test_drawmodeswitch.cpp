#include "canvas/toolkit.h"
#include "compositedplatform.h"
#include "mainwindow/documentfiles.h"
#include "mainwindow/drawmodeswitch.h"
#include "mainwindow/mainwindow.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"

#include <QTimer>
#include <QtTest>

#include <memory>

// Commands that need the desktop hand their rest over to the mode switch:
// with live desktop the page leaves on a timer, and nothing may run in
// between or inside another.
class TestDrawModeSwitch : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainWindow> window;
    QStringList ran;

    DrawModeSwitch *modes() const { return window->modes(); }

    // Over a live page with the pen, as a user draws.
    void drawLive()
    {
        window->slot_LiveDesktop();
        QVERIFY(modes()->isLiveDesktop());
        window->slot_Pen(1, false);
        window->SetDrawMode(true);
        QCOMPARE(modes()->state(), DrawModeSwitch::State::Drawing);
    }

    // A command handed over: it notes its name and whether it found the desktop.
    std::function<void()> command(const QString &strName)
    {
        return [this, strName] {
            ran.append(strName + (modes()->isDrawMode() ? QStringLiteral("@page") : QString()));
        };
    }

    QTimer *timer(const char *name) const
    {
        return modes()->findChild<QTimer *>(QLatin1String(name));
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ToolKit::reset();
        Platform::replace(std::make_unique<CompositedPlatform>());
        window = std::make_unique<MainWindow>();
        ran.clear();
    }

    void cleanup()
    {
        window.reset();
        env.reset();
        Platform::reset();
    }

    void runsAtOnceWhereNoWaitIsNeeded()
    {
        QSignalSpy modeChanges(modes(), &DrawModeSwitch::drawModeChanged);
        modes()->whenOnDesktop(command(QStringLiteral("on the desktop")));
        QCOMPARE(ran, QStringList({ QStringLiteral("on the desktop") }));
        QCOMPARE(modeChanges.count(), 0);

        // Without live desktop a page is left at once, the pen remembered.
        window->slot_Pen(1, false);
        window->SetDrawMode(true);
        modes()->whenOnDesktop(command(QStringLiteral("from a page")));
        QCOMPARE(ran.last(), QStringLiteral("from a page"));
        QVERIFY(!window->isVisible());
        QVERIFY(window->toolbar()->isVisible());
        QCOMPARE(ToolKit::instance().currentToolId(), int(ToolKit::Mouse));
        QCOMPARE(ToolKit::instance().lastToolId(), int(ToolKit::Pen));
        QCOMPARE(modeChanges.count(), 2);
        QCOMPARE(modeChanges.last().first().toBool(), false);
    }

    // Two commands while the live page is leaving: both wait, then run in
    // order. One handed over from inside another runs after it, and one that
    // comes after a page was opened again finds the desktop again.
    void commandsDuringALeaveWaitTheirTurn()
    {
        drawLive();
        modes()->whenOnDesktop([this] {
            command(QStringLiteral("first"))();
            modes()->whenOnDesktop(command(QStringLiteral("from inside first")));
            ran.append(QStringLiteral("first ends"));
        });
        QCOMPARE(modes()->state(), DrawModeSwitch::State::Leaving);
        QVERIFY(window->isVisible());
        QVERIFY(!window->toolbar()->isVisible());
        modes()->whenOnDesktop([this] {
            command(QStringLiteral("second"))();
            // As pictures opened into pages do.
            window->SetDrawMode(true);
        });
        modes()->whenOnDesktop(command(QStringLiteral("third")));
        QVERIFY(ran.isEmpty());

        QVERIFY(QTest::qWaitFor([this] { return ran.size() == 5; }));
        QCOMPARE(ran,
                 QStringList({ QStringLiteral("first"), QStringLiteral("first ends"),
                               QStringLiteral("second"), QStringLiteral("third"),
                               QStringLiteral("from inside first") }));
        QCOMPARE(modes()->state(), DrawModeSwitch::State::Desktop);
        QVERIFY(!window->isVisible());
        QVERIFY(window->toolbar()->isVisible());
    }

    // A leave that stalls is finished by the deadline: the commands run on
    // the desktop, and the page does not stay over the screen without its
    // toolbar.
    void aStalledLeaveEndsAtTheDeadline()
    {
        drawLive();
        modes()->whenOnDesktop(command(QStringLiteral("late")));
        QCOMPARE(modes()->state(), DrawModeSwitch::State::Leaving);
        QVERIFY(timer("leaveDeadline")->isActive());
        timer("leaveDelay")->stop();
        QVERIFY(ran.isEmpty());
        QVERIFY(QTest::qWaitFor([this] { return !ran.isEmpty(); },
                                DrawModeSwitch::LeaveDeadlineMs * 3));
        QCOMPARE(ran, QStringList({ QStringLiteral("late") }));
        QVERIFY(!window->isVisible());
        QVERIFY(window->toolbar()->isVisible());
    }

    // A document dialog whose caller needs its answer at once (saving before
    // the program closes) finds the desktop without the live moment.
    void aDialogThatMustAnswerLeavesAtOnce()
    {
        drawLive();
        Q_EMIT window->documentFiles()->signal_DialogWanted();
        QCOMPARE(modes()->state(), DrawModeSwitch::State::Desktop);
        QVERIFY(!window->isVisible());
        QVERIFY(window->toolbar()->isVisible());
    }

    // Back on a page before the leave ended: the commands waiting for the
    // desktop are given up, not run at some later visit.
    void drawingAgainGivesTheWaitingCommandsUp()
    {
        drawLive();
        modes()->whenOnDesktop(command(QStringLiteral("given up")));
        window->SetDrawMode(true);
        QCOMPARE(modes()->state(), DrawModeSwitch::State::Drawing);
        QVERIFY(!timer("leaveDelay")->isActive());
        QVERIFY(!timer("leaveDeadline")->isActive());
        QVERIFY(window->toolbar()->isVisible());

        window->slot_Mouse();
        QTRY_COMPARE(modes()->state(), DrawModeSwitch::State::Desktop);
        QVERIFY(ran.isEmpty());
    }
};

QTEST_MAIN(TestDrawModeSwitch)
#include "test_drawmodeswitch.moc"
