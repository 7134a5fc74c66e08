#include "browser/browser.h"
#include "browser/browserdlg.h"
#include "browser/browsermodel.h"
#include "browser/listwidgetdelegate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "modalanswerer.h"
#include "testenvironment.h"
#include "widgets/closebtn.h"

#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include <memory>

using Colours = QList<QColor>;

// The page browser over a real canvas: thumbnails, choosing, moving and
// closing pages, and leaving.
class TestBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainView> view;
    std::unique_ptr<BrowserDlg> dlg;

    Browser *list() const { return dlg->browser(); }
    QWidget *area() const { return list()->viewport(); }
    BrowserModel *model() const { return list()->browserModel(); }
    QRect itemRect(int row) const { return list()->visualRect(model()->index(row)); }

    // Plain pages in the given colours, the current one being `current` (1-based).
    void makePages(const Colours &colours, int current = 1)
    {
        for (const QColor &c : colours) {
            view->newPage();
            view->currentPage()->colour = c;
        }
        view->document().gotoPage(current - 1);
    }

    // Opens the browser, wired to the canvas as the main window does it.
    void openBrowser(bool waitForThumbnails = true)
    {
        dlg = std::make_unique<BrowserDlg>(view.get());
        connect(dlg.get(), &BrowserDlg::signal_GotoPage, view.get(),
                [this](int page) { view->document().gotoPage(page - 1); });
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        if (waitForThumbnails)
            QTRY_VERIFY(list()->isActive());
    }

    Colours canvasColours() const
    {
        Colours colours;
        for (const MainPage *p : view->document().pageList())
            colours.append(p->colour);
        return colours;
    }

    Colours thumbnailColours() const
    {
        Colours colours;
        for (int row = 0; row < model()->rowCount(); ++row) {
            const QImage image = model()->thumbnail(row);
            colours.append(image.pixelColor(image.width() / 2, image.height() / 2));
        }
        return colours;
    }

    QStringList labels() const
    {
        QStringList result;
        for (int row = 0; row < model()->rowCount(); ++row)
            result.append(model()->data(model()->index(row)).toString());
        return result;
    }

    // Drags `payload` over the centre of row `target` and drops it there.
    bool drop(QMimeData *payload, int target)
    {
        const QPoint at = itemRect(target).center();
        QDragEnterEvent enter(at, Qt::MoveAction, payload, Qt::LeftButton, {});
        QApplication::sendEvent(area(), &enter);
        QDragMoveEvent move(at, Qt::MoveAction, payload, Qt::LeftButton, {});
        QApplication::sendEvent(area(), &move);
        if (!enter.isAccepted() || !move.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::MoveAction, payload, Qt::LeftButton, {});
        QApplication::sendEvent(area(), &dropped);
        return dropped.isAccepted();
    }

    bool dropRow(int from, int to)
    {
        std::unique_ptr<QMimeData> payload(model()->mimeData({ model()->index(from) }));
        return drop(payload.get(), to);
    }

    void click(int row) { QTest::mouseClick(area(), Qt::LeftButton, {}, itemRect(row).center()); }
    void clickDeleteIcon(int row)
    {
        QTest::mouseClick(area(), Qt::LeftButton, {},
                          ListWidgetDelegate::deleteRect(itemRect(row)).center());
    }

private Q_SLOTS:
    void init()
    {
        env = std::make_unique<TestEnvironment>();
        QDir().mkpath(AppState::instance().tempFolder = env->path(QStringLiteral("temp/")));
        ToolKit::reset();
        view = std::make_unique<MainView>();
    }

    void cleanup()
    {
        dlg.reset();
        view.reset();
        env.reset();
    }

    void thumbnailsShowEveryPageInOrder()
    {
        makePages({ Qt::red, Qt::green, Qt::blue }, 2);
        openBrowser();
        QCOMPARE(labels(), QStringList({ "Page 1", "Page 2", "Page 3" }));
        QCOMPARE(thumbnailColours(), Colours({ Qt::red, Qt::green, Qt::blue }));
        QCOMPARE(list()->currentIndex().row(), 1);

        // The page is fitted with a clear margin and framed.
        const QImage thumb = model()->thumbnail(0);
        QCOMPARE(thumb.size(), list()->iconSize());
        QCOMPARE(qAlpha(thumb.pixel(2, thumb.height() / 2)), 0);
        QCOMPARE(thumb.pixelColor(10, thumb.height() / 2), AppState::instance().greys[3]);

        // On screen: the thumbnail in its tile and the red close icon at the top right.
        const QImage shown = area()->grab().toImage();
        QCOMPARE(shown.pixelColor(itemRect(2).center() - QPoint(0, 10)), QColor(Qt::blue));
        const QRect icon = ListWidgetDelegate::deleteRect(itemRect(0));
        const QColor mark = shown.pixelColor(icon.center() + QPoint(0, icon.height() / 3));
        QVERIFY2(mark.red() > 150 && mark.green() < 100, qPrintable(mark.name()));
    }

    void pressesWhileBuildingAreIgnored()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser(false);
        QSignalSpy chosen(dlg.get(), &BrowserDlg::signal_GotoPage);
        bool pressed = false;
        connect(model(), &BrowserModel::dataChanged, this, [&] {
            if (!pressed && !list()->isActive()) {
                pressed = true;
                click(2);
            }
        });
        QTRY_VERIFY(list()->isActive());
        QVERIFY(pressed);
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(view->document().currentPageNumber(), 1);
    }

    void clickingShowsThePageAndDoubleClickKeepsIt()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser();
        QSignalSpy chosen(dlg.get(), &BrowserDlg::signal_GotoPage);
        click(2);
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.last().first().toInt(), 3);
        QCOMPARE(view->document().currentPageNumber(), 3);
        QVERIFY(list()->selectionModel()->isSelected(model()->index(2)));
        QTest::mouseClick(area(), Qt::RightButton, {}, itemRect(0).center());
        QCOMPARE(chosen.count(), 1);

        click(1); // a double click begins with a click
        QTest::mouseDClick(area(), Qt::LeftButton, {}, itemRect(1).center());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(view->document().currentPageNumber(), 2);
        QCOMPARE(model()->rowCount(), 0);
    }

    void droppingAThumbnailMovesThePage()
    {
        makePages({ Qt::red, Qt::green, Qt::blue, Qt::yellow });
        openBrowser();
        QVERIFY(dropRow(0, 2));
        const Colours moved = { Qt::green, Qt::blue, Qt::red, Qt::yellow };
        QCOMPARE(canvasColours(), moved);
        QCOMPARE(thumbnailColours(), moved);
        QCOMPARE(labels(), QStringList({ "Page 1", "Page 2", "Page 3", "Page 4" }));
        QCOMPARE(list()->currentIndex().row(), 2);
        QCOMPARE(view->currentPage()->colour, QColor(Qt::red));

        QVERIFY(dropRow(1, 1));
        QCOMPARE(canvasColours(), moved);
    }

    // Dragging starts from real mouse input: press a thumbnail, move past the
    // drag distance. The drag carries the pressed page. (Here the window
    // system offers no drag, so the drag object stays behind unrun.)
    void pressAndMoveStartsADragOfThePressedPage()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser();
        const QPoint from = itemRect(1).center();
        QTest::mousePress(area(), Qt::LeftButton, {}, from);
        for (int step = 1; step <= 4; ++step) {
            const QPoint to = from + QPoint(step * QApplication::startDragDistance(), 0);
            QMouseEvent move(QEvent::MouseMove, to, area()->mapToGlobal(to), Qt::NoButton,
                             Qt::LeftButton, {});
            QApplication::sendEvent(area(), &move);
        }
        const QDrag *drag = list()->findChild<QDrag *>();
        QVERIFY(drag);
        QCOMPARE(BrowserModel::rowFromMimeData(drag->mimeData()), 1);
        QTest::mouseRelease(area(), Qt::LeftButton, {}, from);
    }

    void foreignOrBrokenDropsChangeNothing()
    {
        const Colours colours = { Qt::red, Qt::green, Qt::blue };
        makePages(colours);
        openBrowser();
        QMimeData text, shortRow, farRow;
        text.setText(QStringLiteral("0"));
        QVERIFY(!drop(&text, 1));
        shortRow.setData(BrowserModel::mimeType(), QByteArray("\x00\x01", 2));
        farRow.setData(BrowserModel::mimeType(), QByteArray("\x00\x00\x00\x63", 4));
        QVERIFY(drop(&shortRow, 1));
        QVERIFY(drop(&farRow, 1));
        QCOMPARE(canvasColours(), colours);
        QCOMPARE(thumbnailColours(), colours);
    }

    void closingAPageAsksFirst()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser();
        {
            ModalAnswerer cancel(QMessageBox::Cancel);
            clickDeleteIcon(1);
            QCOMPARE(cancel.texts,
                     QStringList({ "Close selected page from document.\n"
                                   "Do you want to close selected page?" }));
        }
        QCOMPARE(view->document().pageCount(), 3);
        QCOMPARE(model()->rowCount(), 3);

        // The pressed page goes even when nothing showed it on the canvas.
        dlg->disconnect(view.get());
        view->document().gotoPage(2);
        ModalAnswerer ok(QMessageBox::Ok);
        clickDeleteIcon(1);
        QCOMPARE(ok.texts.size(), 1);
        QCOMPARE(canvasColours(), Colours({ Qt::red, Qt::blue }));
        QCOMPARE(thumbnailColours(), Colours({ Qt::red, Qt::blue }));
        QCOMPARE(labels(), QStringList({ "Page 1", "Page 2" }));
        QCOMPARE(view->document().currentPageNumber(), 2);
        QCOMPARE(list()->currentIndex().row(), 1);

        // Closing the last page leaves one fresh page.
        clickDeleteIcon(0);
        clickDeleteIcon(0);
        QTRY_VERIFY(list()->isActive());
        QCOMPARE(labels(), QStringList({ "Page 1" }));
        QCOMPARE(thumbnailColours(), Colours({ AppState::instance().draw.newpageColor }));
    }

    void keysChooseMoveAndClosePages()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser();
        list()->setFocus();
        QCOMPARE(list()->currentIndex().row(), 0);
        QTest::keyClick(list(), Qt::Key_Right);
        QCOMPARE(list()->currentIndex().row(), 1);
        // Ctrl+arrow carries the page along; at the end it stays.
        QTest::keyClick(list(), Qt::Key_Right, Qt::ControlModifier);
        QTest::keyClick(list(), Qt::Key_Right, Qt::ControlModifier);
        QCOMPARE(canvasColours(), Colours({ Qt::red, Qt::blue, Qt::green }));
        QCOMPARE(list()->currentIndex().row(), 2);
        QTest::keyClick(list(), Qt::Key_Left, Qt::ControlModifier);
        QCOMPARE(canvasColours(), Colours({ Qt::red, Qt::green, Qt::blue }));
        // Delete closes the page the keyboard is on, not the one shown last.
        QTest::keyClick(list(), Qt::Key_Right);
        {
            ModalAnswerer ok(QMessageBox::Ok);
            QTest::keyClick(list(), Qt::Key_Delete);
            QCOMPARE(ok.texts.size(), 1);
        }
        QCOMPARE(canvasColours(), Colours({ Qt::red, Qt::green }));
        QTest::keyClick(list(), Qt::Key_Left);
        QTest::keyClick(list(), Qt::Key_Return);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(view->document().currentPageNumber(), 1);
    }

    void escapeCloseButtonAndEmptySpaceLeave()
    {
        makePages({ Qt::red, Qt::green });
        openBrowser();
        list()->setFocus();
        QTest::keyClick(list(), Qt::Key_Escape);
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
        QCOMPARE(model()->rowCount(), 0);

        openBrowser();
        QTest::mouseClick(dlg->findChild<CloseBtn *>(), Qt::LeftButton);
        QVERIFY(!dlg->isVisible());

        openBrowser();
        QTest::mouseDClick(area(), Qt::LeftButton, {}, area()->rect().bottomRight() - QPoint(5, 5));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    void leavingWhileBuildingStopsTheBuild()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser(false);
        connect(
            model(), &BrowserModel::dataChanged, dlg.get(),
            [this] { dlg->slot_Browser_Quit(true); }, Qt::SingleShotConnection);
        QTRY_VERIFY(!dlg->isVisible());
        QCOMPARE(model()->rowCount(), 0);
        QVERIFY(!list()->isActive());
    }

    void theCurrentPageIsScrolledIntoView()
    {
        Colours colours;
        for (int i = 0; i < 40; ++i)
            colours.append(QColor::fromHsv(i * 9, 200, 200));
        makePages(colours, 40);
        openBrowser();
        QVERIFY(list()->verticalScrollBar()->maximum() > 0);
        QVERIFY(area()->rect().contains(itemRect(39)));
        click(39);
        QCOMPARE(view->document().currentPageNumber(), 40);
    }
};

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
