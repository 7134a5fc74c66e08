#include "browserdlg.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "browser.h"
#include "browsermodel.h"
#include "canvas/mainview.h"
#include "document/pagerenderer.h"
#include "thumbnailbuilder.h"
#include "widgets/closebtn.h"

#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

BrowserDlg::BrowserDlg(MainView *pView, QWidget *pParent)
    : FullScreenDialog(pParent)
    , view(pView)
    , list(new Browser(Lang::tr("Browser", QStringLiteral("Page")), this))
{
    auto *closeBtn = new CloseBtn(this);
    closeBtn->setToolTip(Lang::tr("Browser", QStringLiteral("Close")));
    Lang::release();
    connect(closeBtn, &QAbstractButton::clicked, this, qOverload<>(&BrowserDlg::slot_Browser_Quit));

    const int gap = AppState::instance().scaled(10);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(gap, gap, gap, gap);
    column->setSpacing(gap);
    column->addWidget(list);
    column->addWidget(closeBtn, 0, Qt::AlignHCenter);

    connect(list, &Browser::signal_GotoPage, this, &BrowserDlg::choosePage);
    connect(list, &Browser::signal_MovePage, this, &BrowserDlg::movePage);
    connect(list, &Browser::signal_ClosePage, this, &BrowserDlg::slot_Browser_Close);
    connect(list, &Browser::signal_QuitBrowser, this,
            qOverload<bool>(&BrowserDlg::slot_Browser_Quit));

    // Shown first, filled afterwards: building many thumbnails takes a while.
    timer = new QTimer(this);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, this, &BrowserDlg::slot_StartBrowser);
    timer->start(100);
}

void BrowserDlg::choosePage(int page)
{
    chosen = page;
    Q_EMIT signal_GotoPage(page);
}

void BrowserDlg::movePage(int from, int to)
{
    view->document().movePage(from, to);
}

void BrowserDlg::slot_StartBrowser()
{
    BrowserModel *model = list->browserModel();
    list->setActive(false);
    stopBuilding();
    model->removeAll();
    const int count = view->document().pageCount();
    const QSize icon = list->iconSize();
    // Every tile is there at once, empty until its thumbnail arrives.
    QImage empty(icon, QImage::Format_ARGB32_Premultiplied);
    empty.fill(Qt::transparent);
    for (int row = 0; row < count; ++row)
        model->appendThumbnail(empty, list->pageLabel(row + 1));
    const QModelIndex current = model->index(view->document().currentPageNumber() - 1);
    list->setCurrentIndex(current);
    list->scrollTo(current);
    if (count == 0) {
        list->setActive(true);
        return;
    }
    // Drawn at the screen's device pixels, so that a scaled screen shows it sharp.
    builder = new ThumbnailBuilder(icon, list->devicePixelRatio(), AppState::instance().scaled(20),
                                   AppState::instance().greys[3], this);
    connect(builder, &ThumbnailBuilder::signal_Thumbnail, this, &BrowserDlg::showThumbnail);
    connect(builder, &ThumbnailBuilder::signal_Finished, this, [this] { list->setActive(true); });
    builder->start(PageRenderer::snapshot(view->document().pageList()));
}

void BrowserDlg::showThumbnail(int row, const QImage &thumbnail)
{
    if (row < list->browserModel()->rowCount())
        list->browserModel()->setThumbnail(row, thumbnail, list->pageLabel(row + 1));
}

void BrowserDlg::stopBuilding()
{
    delete builder;
    builder = nullptr;
}

void BrowserDlg::slot_Browser_Close()
{
    // The page to close is the one the browser chose, whoever handled that
    // choice (or did not).
    if (chosen >= 1 && chosen != view->document().currentPageNumber())
        view->document().gotoPage(chosen - 1);
    if (view->deletePage() == 0) {
        slot_StartBrowser();
        return;
    }
    const QModelIndex current
        = list->browserModel()->index(view->document().currentPageNumber() - 1);
    list->setCurrentIndex(current);
    chosen = view->document().currentPageNumber();
}

void BrowserDlg::slot_Browser_Quit(bool bReject)
{
    stopTimer();
    list->setActive(false);
    stopBuilding();
    list->browserModel()->removeAll();
    if (bReject)
        reject();
    else
        accept();
}

void BrowserDlg::slot_Browser_Quit()
{
    slot_Browser_Quit(true);
}

void BrowserDlg::stopTimer()
{
    if (timer) {
        timer->stop();
        delete timer;
    }
}

void BrowserDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Browser::backgroundColour());
}

void BrowserDlg::keyPressEvent(QKeyEvent *pEvent)
{
    if (pEvent->key() == Qt::Key_Escape) {
        slot_Browser_Quit(true);
        return;
    }
    FullScreenDialog::keyPressEvent(pEvent);
}
