#include "app/screeninuse.h"
#include "offscreenscreens.h"
#include "testenvironment.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"

#include <QScreen>
#include <QtTest>

// The toolbar dragged between a tall and a short screen: it takes as many
// columns as the screen's height needs, so every button stays reachable.
class TestToolbarColumns : public QObject
{
    Q_OBJECT

    static QScreen *screenNamed(const QString &name)
    {
        for (QScreen *screen : QGuiApplication::screens())
            if (screen->name() == name)
                return screen;
        return nullptr;
    }

    static void dragTitleTo(ToolWidget &bar, const QPoint &target)
    {
        // Between the minimise and the menu buttons on the title strip.
        const QPoint press = bar.mapToGlobal(QPoint(42, 10));
        for (QTest::MouseAction action : { QTest::MousePress, QTest::MouseMove })
            QTest::mouseEvent(action, &bar, Qt::LeftButton, Qt::NoModifier,
                              bar.mapFromGlobal(action == QTest::MousePress ? press : target));
        QTest::mouseRelease(&bar, Qt::LeftButton, Qt::NoModifier, bar.mapFromGlobal(target));
    }

    static bool allButtonsInside(const ToolWidget &bar)
    {
        for (int i = 0; i < ToolWidget::ButtonCount; ++i) {
            const QWidget *button = bar.button(i);
            const QRect placed(button->mapTo(&bar, QPoint()), button->size());
            if (!button->isVisibleTo(&bar) || !bar.rect().contains(placed))
                return false;
        }
        return true;
    }

private Q_SLOTS:
    void columnsFollowTheScreenHeight()
    {
        TestEnvironment env;
        QScreen *tall = screenNamed(QStringLiteral("tall"));
        QScreen *low = screenNamed(QStringLiteral("short"));
        QVERIFY(tall && low);
        ScreenInUse::instance().use(tall);
        ToolWidget bar;
        connect(&bar, &ToolWidget::signal_ScreenChosen, &ScreenInUse::instance(),
                &ScreenInUse::use);
        bar.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bar));
        bar.moveToolbar(QPoint(100, 40));
        const QSize onTall = bar.size();
        QVERIFY2(onTall.height() > low->geometry().height(),
                 qPrintable(QStringLiteral("%1 high").arg(onTall.height())));

        dragTitleTo(bar, low->geometry().topLeft() + QPoint(200, 20));
        QCOMPARE(ScreenInUse::screen(), low);
        QVERIFY(low->geometry().contains(bar.frameGeometry()));
        QVERIFY(bar.width() > onTall.width());
        QVERIFY(allButtonsInside(bar));

        dragTitleTo(bar, QPoint(300, 60));
        QCOMPARE(ScreenInUse::screen(), tall);
        QCOMPARE(bar.size(), onTall);
        QVERIFY(allButtonsInside(bar));
    }
};

int main(int argc, char *argv[])
{
    return execOnScreens<TestToolbarColumns>(argc, argv, R"({ "screens": [
        { "name": "tall", "x": 0, "y": 0, "width": 1280, "height": 1024, "logicalDpi": 96 },
        { "name": "short", "x": 1280, "y": 0, "width": 1280, "height": 300, "logicalDpi": 96 } ] })");
}

#include "test_toolbarcolumns.moc"
