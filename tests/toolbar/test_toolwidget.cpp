#include "app/appstate.h"
#include "app/screeninuse.h"
#include "offscreenscreens.h"
#include "testenvironment.h"
#include "toolbar/toolgridwidget.h"
#include "toolbar/toolwidget.h"
#include "toolbar/toolwidgetbtn.h"
#include "toolbar/toolwidgetbtn_option.h"
#include "widgets/minbtn.h"

#include <QApplication>
#include <QColorDialog>
#include <QDial>
#include <QMimeData>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>
#include <QtTest>

#include <memory>

// The floating toolbar on two side-by-side 800 x 600 screens, driven by real
// mouse events on its real buttons.
class TestToolWidget : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<ToolWidget> bar;

    static QRect screenRect(int index) { return QGuiApplication::screens().at(index)->geometry(); }
    static int dragDistance() { return QApplication::startDragDistance(); }

    // A mouse event at a global position, whichever way the window has moved.
    static void mouseAt(QTest::MouseAction action, QWidget *widget, const QPoint &global)
    {
        QTest::mouseEvent(action, widget, Qt::LeftButton, Qt::NoModifier,
                          widget->mapFromGlobal(global));
    }

    // Puts the toolbar in the right half of the first screen.
    void moveToRightHalf()
    {
        const QRect screen = screenRect(0);
        bar->moveToolbar(QPoint(screen.right() - bar->width() - 20, 40));
        QVERIFY(!bar->isOnLeft());
    }

    QList<qint8> clicksOn(ToolWidgetBtn *button, const QList<QPoint> &points)
    {
        QSignalSpy spy(button, &ToolWidgetBtn::signals_Clicked);
        for (const QPoint &point : points)
            QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, point);
        QList<qint8> kinds;
        for (const QList<QVariant> &arguments : spy)
            kinds.append(arguments.at(0).value<qint8>());
        return kinds;
    }

    void dropUrls(const QStringList &names, QSignalSpy &spy, bool bAccepted)
    {
        QList<QUrl> urls;
        for (const QString &name : names)
            urls.append(QUrl::fromLocalFile(name));
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = bar->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(bar.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        drop.setAccepted(false);
        QApplication::sendEvent(bar.get(), &drop);
        QCOMPARE(drop.isAccepted(), bAccepted);
        QCOMPARE(spy.size(), bAccepted ? 1 : 0);
    }

    // Answers the colour dialog that the next right click opens.
    static void answerColourDialog(const QColor &colour, bool bAccept)
    {
        QTimer::singleShot(0, [colour, bAccept] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QVERIFY(dialog->testOption(QColorDialog::DontUseNativeDialog));
            dialog->setCurrentColor(colour);
            bAccept ? dialog->accept() : dialog->reject();
        });
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        ScreenInUse::instance().use(nullptr);
        bar = std::make_unique<ToolWidget>();
        // In the program the screen watcher takes the screen the toolbar asks for.
        connect(bar.get(), &ToolWidget::signal_ScreenChosen, &ScreenInUse::instance(),
                &ScreenInUse::use);
        bar->show();
        QVERIFY(QTest::qWaitForWindowExposed(bar.get()));
    }

    void cleanup()
    {
        bar.reset();
        env.reset();
    }

    void firstPlacementAndStoredPosition()
    {
        // -9999: the left edge of the screen, vertically centred.
        QCOMPARE(bar->pos(), QPoint(0, (600 - bar->height()) / 2));
        QVERIFY(bar->isOnLeft());
        bar.reset();
        AppState::instance().barPosX = 500;
        AppState::instance().barPosY = 40;
        bar = std::make_unique<ToolWidget>();
        QCOMPARE(bar->pos(), QPoint(500, 40));
        QVERIFY(!bar->isOnLeft());
        bar.reset();
        AppState::instance().minimize = true;
        bar = std::make_unique<ToolWidget>();
        QVERIFY(bar->isFolded());
        QCOMPARE(bar->height(), 20);
    }

    void pressKinds()
    {
        ToolWidgetBtn *pen = bar->button(ToolWidget::Pen);
        ToolWidgetBtn *save = bar->button(ToolWidget::Save);
        save->setEnabled(true);
        const QList<QPoint> penPoints = { QPoint(5, 15), QPoint(25, 15) };
        // On the left half of the screen the popup strip is the right end.
        const QList<QPoint> savePoints = { QPoint(5, 15), QPoint(40, 15), QPoint(55, 15) };
        QCOMPARE(clicksOn(pen, penPoints), (QList<qint8> { 1, 2 }));
        QCOMPARE(clicksOn(save, savePoints), (QList<qint8> { 1, 2, 4 }));

        moveToRightHalf();
        QCOMPARE(clicksOn(pen, penPoints), (QList<qint8> { 1, 2 }));
        QCOMPARE(clicksOn(save, savePoints), (QList<qint8> { 3, 2, 2 }));
        // A button without a popup has no strip.
        QCOMPARE(clicksOn(bar->button(ToolWidget::Browser), { QPoint(5, 15) }),
                 (QList<qint8> { 1 }));
        QCOMPARE(clicksOn(bar->button(ToolWidget::Undo), { QPoint(10, 10) }), QList<qint8>());

        // Released outside the button.
        QSignalSpy spy(pen, &ToolWidgetBtn::signals_Clicked);
        QTest::mousePress(pen, Qt::LeftButton, Qt::NoModifier, QPoint(28, 15));
        QTest::mouseMove(pen, QPoint(33, 15));
        QTest::mouseRelease(pen, Qt::LeftButton, Qt::NoModifier, QPoint(33, 15));
        QCOMPARE(spy.size(), 0);
    }

    void dragFromButtonMovesWindowInstead()
    {
        ToolWidgetBtn *pen = bar->button(ToolWidget::Pen);
        QSignalSpy spy(pen, &ToolWidgetBtn::signals_Clicked);
        bar->moveToolbar(QPoint(100, 40));
        const QPoint press = pen->mapToGlobal(QPoint(10, 10));
        const QPoint away = press + QPoint(3 * dragDistance(), 0);
        // Just short of the threshold, over both axes, is still a click.
        const int nearly = 3 * dragDistance() - 1;
        mouseAt(QTest::MousePress, pen, press);
        mouseAt(QTest::MouseMove, pen, press + QPoint(nearly / 2, nearly - nearly / 2));
        QCOMPARE(pen->pressKind(), 1);
        mouseAt(QTest::MouseRelease, pen, press);
        QCOMPARE(spy.size(), 1);
        QCOMPARE(bar->pos(), QPoint(100, 40));

        mouseAt(QTest::MousePress, pen, press);
        mouseAt(QTest::MouseMove, pen, away);
        QCOMPARE(pen->pressKind(), 0);
        QCOMPARE(bar->pos(), QPoint(100, 40));
        mouseAt(QTest::MouseMove, pen, away + QPoint(50, 20));
        QCOMPARE(bar->pos(), QPoint(150, 60));
        mouseAt(QTest::MouseRelease, pen, away + QPoint(50, 20));
        QCOMPARE(spy.size(), 1);
        QCOMPARE(AppState::instance().barPosX, 150);
        QCOMPARE(AppState::instance().barPosY, 60);
    }

    void dragByBackground()
    {
        bar->moveToolbar(QPoint(100, 40));
        // Between the minimise and the menu buttons on the title strip.
        const QPoint press = bar->mapToGlobal(QPoint(42, 10));
        const int threshold = 6 * dragDistance();
        mouseAt(QTest::MousePress, bar.get(), press);
        mouseAt(QTest::MouseMove, bar.get(), press + QPoint(threshold - 1, 0));
        QCOMPARE(bar->pos(), QPoint(100, 40));
        mouseAt(QTest::MouseMove, bar.get(), press + QPoint(threshold, 0));
        QCOMPARE(bar->pos(), QPoint(100 + threshold, 40));
        mouseAt(QTest::MouseRelease, bar.get(), press + QPoint(threshold, 0));
        QCOMPARE(ScreenInUse::index(), 0);
    }

    void dropPartlyOffScreenPullsBackOnThatScreen()
    {
        bar->moveToolbar(QPoint(100, 40));
        const QPoint press = bar->mapToGlobal(QPoint(42, 10));
        // Onto the second screen, past its bottom edge, in its right half.
        const QPoint target(1500, 580);
        mouseAt(QTest::MousePress, bar.get(), press);
        mouseAt(QTest::MouseMove, bar.get(), target);
        QVERIFY(!screenRect(1).contains(bar->frameGeometry()));
        mouseAt(QTest::MouseRelease, bar.get(), target);
        QCOMPARE(ScreenInUse::index(), 1);
        QVERIFY(screenRect(1).contains(bar->frameGeometry()));
        QCOMPARE(bar->frameGeometry().bottom(), screenRect(1).bottom());
        QCOMPARE(bar->x(), target.x() - 42);
        QVERIFY(!bar->isOnLeft());
    }

    void moveToolbarKeepsOnScreen()
    {
        ScreenInUse::instance().use(QGuiApplication::screens().at(1));
        const QRect screen = screenRect(1);
        QSignalSpy side(bar.get(), &ToolWidget::signal_SideChanged);
        bar->moveToolbar(QPoint(900, 50));
        QCOMPARE(bar->pos(), QPoint(900, 50));
        QVERIFY(bar->isOnLeft());
        bar->moveToolbar(QPoint(1580, 50));
        QCOMPARE(bar->pos(), QPoint(screen.left(), screen.top() + (600 - bar->height()) / 2));
        bar->moveToolbar(QPoint(1500, 10));
        QVERIFY(!bar->isOnLeft());
        // A place on another screen than the current one is refused too.
        bar->moveToolbar(QPoint(100, 50));
        QCOMPARE(bar->x(), screen.left());
        // Announced only when the side changes.
        QCOMPARE(side.size(), 2);
        QCOMPARE(side.at(0).at(0).toBool(), false);
        QCOMPARE(side.at(1).at(0).toBool(), true);
    }

    void asChildStaysInsideItsParent()
    {
        QWidget host;
        host.setGeometry(screenRect(1));
        host.show();
        QVERIFY(QTest::qWaitForWindowExposed(&host));
        bar->setParent(&host);
        bar->show();
        // Places are in the parent's coordinates.
        bar->moveToolbar(QPoint(760, 20));
        QCOMPARE(bar->pos(), QPoint(0, (600 - bar->height()) / 2));
        bar->moveToolbar(QPoint(600, 20));
        QCOMPARE(bar->pos(), QPoint(600, 20));
        QVERIFY(!bar->isOnLeft());
        QCOMPARE(AppState::instance().barPosX, 1400);

        const QPoint press = bar->mapToGlobal(QPoint(42, 10));
        mouseAt(QTest::MousePress, bar.get(), press);
        mouseAt(QTest::MouseMove, bar.get(), press + QPoint(-300, 200));
        QCOMPARE(bar->pos(), QPoint(300, 220));
        mouseAt(QTest::MouseRelease, bar.get(), press + QPoint(-300, 200));
        QCOMPARE(bar->pos(), QPoint(300, 600 - bar->height()));
        QVERIFY(bar->isOnLeft());
        QCOMPARE(ScreenInUse::index(), 0);
        bar->setParent(nullptr);
    }

    void quickColours()
    {
        ToolWidgetBtn_Option *option = bar->optionButton();
        QSignalSpy picked(option, &ToolWidgetBtn_Option::signal_ColourPicked);
        QSignalSpy clicked(option, &ToolWidgetBtn::signals_Clicked);
        bar->setCurrentToolButton(ToolWidget::Pen);
        QVERIFY(option->swatchRect(0).left() < option->width() / 2);
        QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, option->swatchRect(3).center());
        QCOMPARE(picked.size(), 1);
        QCOMPARE(picked.at(0).at(0).value<QColor>(), QColor(0xed, 0x1c, 0x24));
        QCOMPARE(option->colour(), QColor(0xed, 0x1c, 0x24));
        QCOMPARE(clicked.size(), 0);

        // Right click edits that quick colour; a cancelled dialog changes nothing.
        answerColourDialog(QColor(1, 2, 3), false);
        QTest::mouseClick(option, Qt::RightButton, Qt::NoModifier, option->swatchRect(7).center());
        QCOMPARE(AppState::instance().rgb2.at(7), QColor(0xb5, 0xe6, 0x1d));
        answerColourDialog(QColor(1, 2, 3), true);
        QTest::mouseClick(option, Qt::RightButton, Qt::NoModifier, option->swatchRect(7).center());
        QCOMPARE(AppState::instance().rgb2.at(7), QColor(1, 2, 3));
        QCOMPARE(picked.size(), 1);

        // Beside the swatches the button opens the options as usual.
        QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier,
                          QPoint(option->width() - 3, option->height() / 2));
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(picked.size(), 1);

        // On the right half the swatches move to the other end.
        moveToRightHalf();
        QVERIFY(option->swatchRect(2).right() > option->width() / 2);
        QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, option->swatchRect(8).center());
        QCOMPARE(picked.size(), 2);
        QCOMPARE(picked.at(1).at(0).value<QColor>(), QColor(0x00, 0xa2, 0xe8));
    }

    void swatchesInactiveForColourlessTools()
    {
        const int tool = ToolWidget::Eraser;
        bar->setCurrentToolButton(ToolWidget::Pen);
        bar->setCurrentToolButton(tool);
        for (int i = ToolWidget::Mouse; i <= ToolWidget::Text; ++i)
            QCOMPARE(bar->button(i)->hasCurrentMark(), i == tool);
        ToolWidgetBtn_Option *option = bar->optionButton();
        QSignalSpy picked(option, &ToolWidgetBtn_Option::signal_ColourPicked);
        QSignalSpy clicked(option, &ToolWidgetBtn::signals_Clicked);
        QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, option->swatchRect(0).center());
        QTest::mouseClick(option, Qt::RightButton, Qt::NoModifier, option->swatchRect(0).center());
        QCOMPARE(picked.size(), 0);
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(AppState::instance().rgb2, AppState::defaultRgb2());
    }

    void drops()
    {
        QSignalSpy spy(bar.get(), &ToolWidget::signal_FilesDropped);
        dropUrls({ QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b.gif") }, spy, false);
        dropUrls({ QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/SHOT.PNG"),
                   QStringLiteral("/tmp/c.Jpeg"), QStringLiteral("/tmp/png") },
                 spy, true);
        QCOMPARE(spy.at(0).at(0).toStringList(),
                 (QStringList { QStringLiteral("/tmp/SHOT.PNG"), QStringLiteral("/tmp/c.Jpeg") }));
        spy.clear();
        dropUrls({ QStringLiteral("/tmp/slides.PDF"), QStringLiteral("/tmp/d.tavelmark") }, spy,
                 true);
        QCOMPARE(spy.at(0).at(0).toStringList(),
                 (QStringList { QStringLiteral("/tmp/slides.PDF"),
                                QStringLiteral("/tmp/d.tavelmark") }));
    }

    void folding()
    {
        const QSize full = bar->size();
        const QPoint place = bar->pos();
        auto *minimise = bar->findChild<MinBtn *>();
        const QList<ToolGridWidget *> grids = bar->findChildren<ToolGridWidget *>();
        QCOMPARE(grids.size(), 4);
        QTest::mouseClick(minimise, Qt::LeftButton);
        QVERIFY(bar->isFolded());
        QVERIFY(AppState::instance().minimize);
        QCOMPARE(bar->size(), QSize(full.width(), 20));
        QCOMPARE(bar->pos(), place);
        for (ToolGridWidget *grid : grids)
            QVERIFY(!grid->isVisible());

        QTest::mouseClick(minimise, Qt::LeftButton);
        QVERIFY(!bar->isFolded());
        QVERIFY(!AppState::instance().minimize);
        QCOMPARE(bar->size(), full);
        QCOMPARE(bar->pos(), place);

        // Unfolding near the bottom grows back inside the screen.
        bar->setFolded(true);
        bar->moveToolbar(QPoint(300, 570));
        bar->setFolded(false);
        QCOMPARE(bar->pos(), QPoint(300, 600 - full.height()));
    }

    void dialAnnouncesOnlyUserChanges()
    {
        QDial *dial = bar->dial();
        QSignalSpy moved(dial, &QDial::sliderMoved);
        bar->setDial(10, 1, 36);
        QCOMPARE(moved.size(), 0);
        // A click near 3 o'clock is most of the way up a 300-degree dial.
        QTest::mouseClick(dial, Qt::LeftButton, Qt::NoModifier,
                          QPoint(dial->width() - 2, dial->height() / 2));
        QCOMPARE(moved.size(), 1);
        QCOMPARE(moved.at(0).at(0).toInt(), dial->value());
        QVERIFY(dial->value() > 20);

        const QPoint centre = dial->rect().center();
        QWheelEvent wheel(centre, dial->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(dial, &wheel);
        QCOMPARE(moved.size(), 2);
        QCOMPARE(moved.at(1).at(0).toInt(), dial->value());

        // Without a range (a tool without a width) the dial takes no input.
        bar->setDial(0, 0, 0);
        QVERIFY(!dial->isEnabled());
    }
};

int main(int argc, char *argv[])
{
    return execOnScreens<TestToolWidget>(argc, argv, R"({ "screens": [
        { "name": "left", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96 },
        { "name": "right", "x": 800, "y": 0, "width": 800, "height": 600, "logicalDpi": 96 } ] })");
}

#include "test_toolwidget.moc"
