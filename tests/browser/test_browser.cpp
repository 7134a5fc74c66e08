#include "browser/browser.h"
#include "browser/browserdlg.h"
#include "browser/browsermodel.h"
#include "browser/listwidgetdelegate.h"
#include "canvas/mainview.h"
#include "canvas/toolkit.h"
#include "document/mainpage.h"
#include "testenvironment.h"
#include "toolbar/closebtn.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include <memory>

// Answers the message boxes that come up with `answer` and keeps their texts.
class BoxAnswerer
{
public:
    explicit BoxAnswerer(QMessageBox::StandardButton answer)
    {
        timer.setInterval(5);
        QObject::connect(&timer, &QTimer::timeout, [this, answer] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                texts.append(box->text() + QLatin1Char('|') + box->informativeText());
                box->button(answer)->click();
            }
        });
        timer.start();
    }

    QStringList texts;

private:
    QTimer timer;
};

// The page browser over a real canvas: thumbnails, choosing, moving and
// closing pages, and leaving.
class TestBrowser : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> env;
    std::unique_ptr<MainView> view;
    std::unique_ptr<BrowserDlg> dlg;

    Browser *list() const { return dlg->browser(); }
    BrowserModel *model() const { return list()->browserModel(); }
    QRect itemRect(int row) const { return list()->visualRect(model()->index(row)); }

    // Plain pages in the given colours, the current one being `current` (1-based).
    void makePages(const QList<QColor> &colours, int current = 1)
    {
        for (const QColor &c : colours) {
            view->newPage();
            view->currentPage()->colour = c;
        }
        view->gotoPage(current - 1);
    }

    // Opens the browser, wired to the canvas as the main window does it.
    void openBrowser(bool waitForThumbnails = true)
    {
        dlg = std::make_unique<BrowserDlg>(view.get());
        connect(dlg.get(), &BrowserDlg::signal_GotoPage, view.get(),
                [this](int page) { view->gotoPage(page - 1); });
        dlg->show();
        QVERIFY(QTest::qWaitForWindowExposed(dlg.get()));
        if (waitForThumbnails)
            QTRY_VERIFY(list()->isActive());
    }

    QList<QColor> canvasColours() const
    {
        QList<QColor> colours;
        for (const MainPage *p : view->pageList())
            colours.append(p->colour);
        return colours;
    }

    QList<QColor> thumbnailColours() const
    {
        QList<QColor> colours;
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

    // Sends a drag move and a drop carrying `payload` onto the centre of row `target`.
    bool drop(QMimeData *payload, int target)
    {
        const QPointF at = itemRect(target).center();
        QDragEnterEvent enter(at.toPoint(), Qt::MoveAction, payload, Qt::LeftButton, {});
        QApplication::sendEvent(list()->viewport(), &enter);
        QDragMoveEvent move(at.toPoint(), Qt::MoveAction, payload, Qt::LeftButton, {});
        QApplication::sendEvent(list()->viewport(), &move);
        if (!enter.isAccepted() || !move.isAccepted())
            return false;
        QDropEvent dropped(at, Qt::MoveAction, payload, Qt::LeftButton, {});
        QApplication::sendEvent(list()->viewport(), &dropped);
        return dropped.isAccepted();
    }

    void clickDeleteIcon(int row)
    {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
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
        QCOMPARE(thumbnailColours(), QList<QColor>({ Qt::red, Qt::green, Qt::blue }));
        QCOMPARE(list()->currentIndex().row(), 1);

        // The page picture is fitted with a margin and framed; the margin stays clear.
        const QImage thumb = model()->thumbnail(0);
        QCOMPARE(thumb.size(), list()->iconSize());
        QCOMPARE(qAlpha(thumb.pixel(2, thumb.height() / 2)), 0);
        const int left = (thumb.width() - (thumb.width() - 20)) / 2;
        QCOMPARE(thumb.pixelColor(left, thumb.height() / 2), AppState::instance().greys[3]);

        // On screen: the thumbnail in its tile and the red close icon at the top right.
        const QImage shown = list()->viewport()->grab().toImage();
        QCOMPARE(shown.pixelColor(itemRect(2).center() - QPoint(0, 10)), QColor(Qt::blue));
        const QRect icon = ListWidgetDelegate::deleteRect(itemRect(0));
        const QColor edge = shown.pixelColor(icon.center() + QPoint(0, icon.height() / 3));
        QVERIFY2(edge.red() > 150 && edge.green() < 100, qPrintable(edge.name()));
    }

    void pressesWhileBuildingAreIgnored()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser(false);
        QSignalSpy chosen(dlg.get(), &BrowserDlg::signal_GotoPage);
        BoxAnswerer cancel(QMessageBox::Cancel);
        bool pressed = false;
        connect(model(), &BrowserModel::dataChanged, this, [&] {
            if (pressed || list()->isActive())
                return;
            pressed = true;
            QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemRect(2).center());
            clickDeleteIcon(0);
        });
        QTRY_VERIFY(list()->isActive());
        QVERIFY(pressed);
        QCOMPARE(chosen.count(), 0);
        QCOMPARE(view->pageCount(), 3);
        QCOMPARE(view->currentPageNumber(), 1);
    }

    void clickingShowsThePageAndDoubleClickLeaves()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser();
        QSignalSpy chosen(dlg.get(), &BrowserDlg::signal_GotoPage);
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemRect(2).center());
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.last().first().toInt(), 3);
        QCOMPARE(view->currentPageNumber(), 3);
        QCOMPARE(dlg->chosenPage(), 3);
        QVERIFY(list()->selectionModel()->isSelected(model()->index(2)));

        // A right click chooses nothing.
        QTest::mouseClick(list()->viewport(), Qt::RightButton, {}, itemRect(0).center());
        QCOMPARE(view->currentPageNumber(), 3);

        // A double click begins with a click.
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemRect(1).center());
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {}, itemRect(1).center());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(view->currentPageNumber(), 2);
        QCOMPARE(model()->rowCount(), 0);
    }

    void doubleClickOnEmptySpaceRejects()
    {
        makePages({ Qt::red });
        openBrowser();
        const QRect area = list()->viewport()->rect();
        QTest::mouseDClick(list()->viewport(), Qt::LeftButton, {},
                           area.bottomRight() - QPoint(5, 5));
        QVERIFY(!dlg->isVisible());
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    void droppingAThumbnailMovesThePage()
    {
        const QList<QColor> colours = { Qt::red, Qt::green, Qt::blue, Qt::yellow };
        makePages(colours);
        openBrowser();
        QMimeData *first = model()->mimeData({ model()->index(0) });
        QVERIFY(drop(first, 2));
        delete first;
        const QList<QColor> moved = { Qt::green, Qt::blue, Qt::red, Qt::yellow };
        QCOMPARE(canvasColours(), moved);
        QCOMPARE(thumbnailColours(), moved);
        QCOMPARE(labels(), QStringList({ "Page 1", "Page 2", "Page 3", "Page 4" }));
        QCOMPARE(list()->currentIndex().row(), 2);
        QCOMPARE(view->currentPageNumber(), 3);
        QCOMPARE(view->currentPage()->colour, QColor(Qt::red));

        // Onto itself: nothing changes.
        QMimeData *same = model()->mimeData({ model()->index(1) });
        QVERIFY(drop(same, 1));
        delete same;
        QCOMPARE(canvasColours(), moved);
    }

    void foreignOrBrokenDropsChangeNothing()
    {
        const QList<QColor> colours = { Qt::red, Qt::green, Qt::blue };
        makePages(colours);
        openBrowser();
        QMimeData text;
        text.setText(QStringLiteral("0"));
        QVERIFY(!drop(&text, 1));
        QMimeData shortPayload;
        shortPayload.setData(BrowserModel::mimeType(), QByteArray("\x00\x01", 2));
        QVERIFY(drop(&shortPayload, 1));
        QMimeData farRow;
        farRow.setData(BrowserModel::mimeType(), QByteArray("\x00\x00\x00\x63", 4));
        QVERIFY(drop(&farRow, 1));
        QCOMPARE(canvasColours(), colours);
        QCOMPARE(thumbnailColours(), colours);
    }

    void closingAPageAsksFirst()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser();
        {
            BoxAnswerer cancel(QMessageBox::Cancel);
            clickDeleteIcon(1);
            QCOMPARE(cancel.texts,
                     QStringList({ "Close selected page from document.|"
                                   "Do you want to close selected page?" }));
        }
        QCOMPARE(view->pageCount(), 3);
        QCOMPARE(model()->rowCount(), 3);

        BoxAnswerer ok(QMessageBox::Ok);
        clickDeleteIcon(1);
        QCOMPARE(ok.texts.size(), 1);
        QCOMPARE(canvasColours(), QList<QColor>({ Qt::red, Qt::blue }));
        QCOMPARE(thumbnailColours(), QList<QColor>({ Qt::red, Qt::blue }));
        QCOMPARE(labels(), QStringList({ "Page 1", "Page 2" }));
        QCOMPARE(view->currentPageNumber(), 2);
        QCOMPARE(list()->currentIndex().row(), 1);
    }

    // The canvas may be on another page than the one whose icon was pressed
    // when nothing follows the browser's choices: the pressed one still goes.
    void closingClosesThePressedPageEvenUnfollowed()
    {
        makePages({ Qt::red, Qt::green, Qt::blue });
        openBrowser();
        dlg->disconnect(view.get());
        BoxAnswerer ok(QMessageBox::Ok);
        clickDeleteIcon(2);
        QCOMPARE(canvasColours(), QList<QColor>({ Qt::red, Qt::green }));
    }

    void closingTheOnlyPageLeavesAFreshOne()
    {
        makePages({ Qt::red });
        openBrowser();
        BoxAnswerer ok(QMessageBox::Ok);
        clickDeleteIcon(0);
        QTRY_VERIFY(list()->isActive());
        QCOMPARE(view->pageCount(), 1);
        QCOMPARE(model()->rowCount(), 1);
        QCOMPARE(labels(), QStringList({ "Page 1" }));
        QCOMPARE(thumbnailColours().first(), AppState::instance().draw.newpageColor);
    }

    void escapeAndCloseButtonLeave()
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
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    // Leaving while the thumbnails are still being built stops the build.
    void leavingWhileBuildingStops()
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
        QList<QColor> colours;
        for (int i = 0; i < 40; ++i)
            colours.append(QColor::fromHsv(i * 9, 200, 200));
        makePages(colours, 40);
        openBrowser();
        QVERIFY(list()->verticalScrollBar()->maximum() > 0);
        QVERIFY(list()->viewport()->rect().contains(itemRect(39)));

        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, itemRect(39).center());
        QCOMPARE(view->currentPageNumber(), 40);
    }
};

QTEST_MAIN(TestBrowser)
#include "test_browser.moc"
