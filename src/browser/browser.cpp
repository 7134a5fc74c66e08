#include "browser.h"

#include "app/appstate.h"
#include "browsermodel.h"
#include "listwidgetdelegate.h"
#include "widgets/messageboxdialog.h"

#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

Browser::Browser(const QString &strWord, QWidget *pParent)
    : QListView(pParent)
    , model(new BrowserModel(this))
    , word(strWord)
{
    QFile style(QStringLiteral(":/Style/scrollbar.qss"));
    if (style.open(QIODevice::ReadOnly))
        setStyleSheet(QString::fromUtf8(style.readAll()));
    setItemDelegate(new ListWidgetDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked);
    setFrameShape(QFrame::NoFrame);
    setViewMode(QListView::IconMode);
    // Pages keep their grid order: moving is done by the drop handler. The
    // static movement switches dragging off, so it is switched on after it.
    setMovement(QListView::Static);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setUniformItemSizes(true);
    setResizeMode(QListView::Adjust);
    const AppState &s = AppState::instance();
    setIconSize(QSize(s.scaled(180), s.scaled(180)));
    setSpacing(s.scaled(12));
    QPalette colours = palette();
    colours.setColor(QPalette::Base, backgroundColour());
    colours.setColor(QPalette::Window, backgroundColour());
    colours.setColor(QPalette::Text, textColour());
    setPalette(colours);
    viewport()->setAutoFillBackground(true);
    setModel(model);
    // Drops are delivered to the viewport, which does not inherit the flag.
    viewport()->setAcceptDrops(true);
}

QColor Browser::backgroundColour()
{
    return AppState::instance().greys[2];
}

QColor Browser::textColour()
{
    return AppState::instance().greys[4];
}

QString Browser::pageLabel(int number) const
{
    return QStringLiteral("%1 %2").arg(word).arg(number);
}

void Browser::renumber()
{
    for (int row = 0; row < model->rowCount(); ++row)
        model->setLabel(row, pageLabel(row + 1));
}

bool Browser::onDeleteIcon(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    return index.isValid() && ListWidgetDelegate::deleteRect(visualRect(index)).contains(pos);
}

void Browser::mousePressEvent(QMouseEvent *pEvent)
{
    if (!active || pEvent->button() != Qt::LeftButton)
        return;
    QListView::mousePressEvent(pEvent);
    const QPoint pos = pEvent->position().toPoint();
    const QModelIndex index = indexAt(pos);
    if (!index.isValid())
        return;
    setCurrentIndex(index);
    Q_EMIT signal_GotoPage(index.row() + 1);
    deletePressed = onDeleteIcon(pos);
}

void Browser::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (!active || pEvent->button() != Qt::LeftButton)
        return;
    QListView::mouseReleaseEvent(pEvent);
    const QPoint pos = pEvent->position().toPoint();
    const bool closeAsked = deletePressed && onDeleteIcon(pos);
    deletePressed = false;
    if (closeAsked)
        confirmClose(indexAt(pos).row());
}

void Browser::confirmClose(int row)
{
    MessageBoxDialog question(this, QStringLiteral("Close selected page from document."),
                              QStringLiteral("Do you want to close selected page?"),
                              QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel);
    if (question.exec() != QMessageBox::Ok || row >= model->rowCount())
        return;
    model->removeRows(row, 1);
    renumber();
    Q_EMIT signal_ClosePage();
}

void Browser::mouseDoubleClickEvent(QMouseEvent *pEvent)
{
    if (!active || pEvent->button() != Qt::LeftButton)
        return;
    Q_EMIT signal_QuitBrowser(!indexAt(pEvent->position().toPoint()).isValid());
}

void Browser::keyPressEvent(QKeyEvent *pEvent)
{
    const int row = currentIndex().row();
    if (!active || row < 0) {
        QListView::keyPressEvent(pEvent);
        return;
    }
    const int key = pEvent->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Q_EMIT signal_GotoPage(row + 1);
        Q_EMIT signal_QuitBrowser(false);
    } else if (key == Qt::Key_Delete) {
        // As a press on the delete icon does: the page closed is the one chosen.
        Q_EMIT signal_GotoPage(row + 1);
        confirmClose(row);
    } else if (pEvent->modifiers() == Qt::ControlModifier
               && (key == Qt::Key_Left || key == Qt::Key_Right)) {
        const int to = row + (key == Qt::Key_Left ? -1 : 1);
        if (to >= 0 && to < model->rowCount())
            movePage(row, to);
    } else {
        QListView::keyPressEvent(pEvent);
    }
}

void Browser::startDrag(Qt::DropActions)
{
    const QModelIndex current = currentIndex();
    if (!active || !current.isValid())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(model->mimeData({ current }));
    drag->setPixmap(QPixmap::fromImage(model->thumbnail(current.row())));
    drag->setHotSpot(QPoint(0, 0));
    Q_EMIT signal_GotoPage(current.row() + 1);
    drag->exec(Qt::MoveAction);
}

void Browser::dragEnterEvent(QDragEnterEvent *pEvent)
{
    dragMoveEvent(pEvent);
}

void Browser::dragMoveEvent(QDragMoveEvent *pEvent)
{
    if (active && pEvent->mimeData()->hasFormat(BrowserModel::mimeType())) {
        pEvent->setDropAction(Qt::MoveAction);
        pEvent->accept();
    } else {
        pEvent->ignore();
    }
}

void Browser::dropEvent(QDropEvent *pEvent)
{
    if (!active || !pEvent->mimeData()->hasFormat(BrowserModel::mimeType())) {
        pEvent->ignore();
        return;
    }
    const int from = BrowserModel::rowFromMimeData(pEvent->mimeData());
    const QModelIndex target = indexAt(pEvent->position().toPoint());
    if (target.isValid() && from >= 0 && from < model->rowCount() && from != target.row())
        movePage(from, target.row());
    pEvent->setDropAction(Qt::MoveAction);
    pEvent->accept();
}

void Browser::movePage(int from, int to)
{
    const QImage thumbnail = model->thumbnail(from);
    const QString label = model->label(from);
    model->removeRows(from, 1);
    model->insertThumbnail(to, thumbnail, label);
    setCurrentIndex(model->index(to));
    renumber();
    Q_EMIT signal_MovePage(from, to);
    Q_EMIT signal_GotoPage(to + 1);
}
