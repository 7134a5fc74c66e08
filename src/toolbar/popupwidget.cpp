#include "popupwidget.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "floatingplace.h"
#include "panelhost.h"
#include "toolwidget.h"
#include "widgets/closebtn.h"
#include "widgets/keywalk.h"
#include "widgets/lookcolours.h"
#include "widgets/minbtn.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

int scaled(double base)
{
    return AppState::instance().scaled(base);
}

QString readStyleSheet()
{
    QFile file(QStringLiteral(":/Style/slider.qss"));
    return file.open(QIODevice::ReadOnly | QIODevice::Text) ? QString::fromUtf8(file.readAll())
                                                            : QString();
}

// The panel body with a pointer of depth d on the side facing the toolbar,
// its tip at height tip.
QPolygon pointerOutline(const QSize &size, bool bPointRight, int d, int tip)
{
    const int w = size.width(), h = size.height();
    if (bPointRight)
        return QPolygon({ QPoint(0, 0), QPoint(w - d, 0), QPoint(w - d, tip - d), QPoint(w, tip),
                          QPoint(w - d, tip + d), QPoint(w - d, h), QPoint(0, h) });
    return QPolygon({ QPoint(d, 0), QPoint(w, 0), QPoint(w, h), QPoint(d, h), QPoint(d, tip + d),
                      QPoint(0, tip), QPoint(d, tip - d) });
}

} // namespace

PopupWidget::PopupWidget(bool bPopup, QWidget *pAnchor, QWidget *pParent, FloatingPlace *pPlace)
    : QWidget(pParent)
    , bIsPopup(bPopup)
    , byKeys(ToolWidget::showsFocusRing(pAnchor))
    , anchor(pAnchor)
    , layout(new QGridLayout(this))
    , place(pPlace)
{
    setStyleSheet(readStyleSheet() + LookColours::panelStyleSheet());
    setAttribute(Qt::WA_DeleteOnClose);
    layout->setSpacing(scaled(3));
    if (bIsPopup)
        setUpTransient();
    else
        setUpFloating();
    QTimer::singleShot(100, this, &PopupWidget::slot_Show);
}

void PopupWidget::setUpTransient()
{
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    const int m = scaled(8), pointer = scaled(11);
    const bool pointRight = !ToolWidget::isOnLeftOf(anchor);
    layout->setContentsMargins(pointRight ? m : m + pointer, m, pointRight ? m + pointer : m, m);
}

void PopupWidget::setUpFloating()
{
    // Without a window type flag the panel stays a child of the main window
    // and so shows above its canvas.
    setWindowFlags(Qt::FramelessWindowHint);
    const int m = scaled(8);
    layout->setContentsMargins(m, m + scaled(16), m, m);
    closeBtn = new CloseBtn(this);
    closeBtn->move(scaled(2), scaled(2));
    minBtn = new MinBtn(this);
    minBtn->move(closeBtn->width() + scaled(2), scaled(2));
    closeBtn->setToolTip(Lang::tr("Tools", QStringLiteral("Close")));
    minBtn->setToolTip(Lang::tr("Tools", QStringLiteral("Minimize")));
    Lang::release();
    connect(closeBtn, &QAbstractButton::clicked, this, &PopupWidget::slot_Close);
    connect(minBtn, &QAbstractButton::clicked, this, &PopupWidget::slot_Minimize);
}

void PopupWidget::setTitle(const QString &strNewTitle)
{
    strTitle = strNewTitle;
    setWindowTitle(strNewTitle);
    update();
}

PopupWidget *PopupWidget::transientOf(QWidget *pChild)
{
    for (QWidget *w = pChild; w; w = w->parentWidget())
        if (auto *panel = qobject_cast<PopupWidget *>(w))
            return panel->isPopup() ? panel : nullptr;
    return nullptr;
}

bool PopupWidget::folded() const
{
    return !bIsPopup && place && place->folded;
}

int PopupWidget::titleHeight() const
{
    return scaled(20);
}

void PopupWidget::placePanel()
{
    applySize();
    if (bIsPopup)
        placeTransient();
    else
        placeFloating();
    update();
}

void PopupWidget::applySize()
{
    // A folded panel keeps its children where they were, below the strip.
    layout->setEnabled(!folded());
    layout->invalidate();
    const QSize hint = sizeHint();
    setFixedSize(folded() ? QSize(hint.width(), titleHeight()) : hint);
    if (!folded())
        layout->activate();
}

QRect PopupWidget::anchorRect() const
{
    if (!anchor)
        return QRect(pos(), QSize(1, 1));
    return QRect(anchor->mapToGlobal(QPoint(0, 0)), anchor->size());
}

// Where the panel may be, in the coordinates move() takes.
QRect PopupWidget::allowedArea() const
{
    if (!isWindow() && parentWidget())
        return parentWidget()->rect();
    const QScreen *s = anchor ? anchor->screen() : screen();
    return s ? s->availableGeometry() : QRect();
}

QPoint PopupWidget::toMoveCoordinates(const QPoint &global) const
{
    return (!isWindow() && parentWidget()) ? parentWidget()->mapFromGlobal(global) : global;
}

void PopupWidget::placeTransient()
{
    const QRect a = anchorRect();
    const bool pointRight = !ToolWidget::isOnLeftOf(anchor);
    const int d = scaled(11);
    const int x = pointRight ? a.left() - width() : a.right() + 1;
    int y = a.center().y() - scaled(14) - d;
    // Stay on the screen; the pointer slides along the side instead.
    const QRect area = allowedArea();
    if (!area.isEmpty() && height() <= area.height())
        y = qBound(area.top(), y, area.bottom() + 1 - height());
    const int tip = qBound(d, a.center().y() - y, height() - d);
    const QPolygon polygon = pointerOutline(size(), pointRight, d, tip);
    // The border runs along the last pixels inside the mask.
    edge = pointerOutline(size() - QSize(1, 1), pointRight, d, tip);
    path = QPainterPath();
    path.addPolygon(polygon);
    path.closeSubpath();
    setMask(QRegion(polygon));
    move(x, y);
}

void PopupWidget::placeFloating()
{
    if (place && !place->isPlaced()) {
        const QRect a(toMoveCoordinates(anchorRect().topLeft()), anchorRect().size());
        const int gap = scaled(11);
        const int x
            = ToolWidget::isOnLeftOf(anchor) ? a.right() + 1 + gap : a.left() - gap - width();
        place->pos = QPoint(x, a.center().y() - scaled(22));
    }
    if (place)
        move(place->pos);
    path = QPainterPath();
    path.addRect(rect());
}

void PopupWidget::slot_Show()
{
    if (closed)
        return;
    placePanel();
    show();
    raise();
    if (byKeys)
        focusFirstEntry();
}

void PopupWidget::focusFirstEntry()
{
    const QList<QWidget *> entries = KeyWalk::reachable(this);
    if (entries.isEmpty())
        return;
    activateWindow();
    entries.first()->setFocus(Qt::TabFocusReason);
}

void PopupWidget::closeAndRun(const std::function<void(PanelHost *)> &command)
{
    const QPointer<PopupWidget> self(this);
    setAttribute(Qt::WA_DeleteOnClose, false);
    close();
    if (PanelHost *host = PanelHost::current())
        command(host);
    if (self)
        self->deleteLater();
}

void PopupWidget::slot_Close()
{
    if (!bIsPopup) {
        AppState::instance().showFloatingOptionWidget = false;
        emit signal_FloatingClosed();
    }
    close();
}

void PopupWidget::slot_Minimize()
{
    if (bIsPopup || !place)
        return;
    place->folded = !place->folded;
    applySize();
    path = QPainterPath();
    path.addRect(rect());
    update();
}

void PopupWidget::closeEvent(QCloseEvent *pEvent)
{
    closed = true;
    QWidget::closeEvent(pEvent);
}

void PopupWidget::keyPressEvent(QKeyEvent *pEvent)
{
    if (pEvent->key() == Qt::Key_Escape && bIsPopup) {
        const QPointer<QWidget> button = anchor;
        close();
        if (button) {
            button->activateWindow();
            button->setFocus(Qt::OtherFocusReason);
        }
        return;
    }
    const bool toToolbar = pEvent->key() == Qt::Key_Escape || pEvent->key() == Qt::Key_F6;
    if (toToolbar && !bIsPopup) {
        if (ToolWidget *toolbar = ToolWidget::of(anchor))
            toolbar->focusKeyboard(anchor);
        return;
    }
    QWidget *from = focusWidget();
    QWidget *target
        = from ? KeyWalk::neighbour(KeyWalk::reachable(this), from, pEvent->key()) : nullptr;
    if (target)
        target->setFocus(Qt::OtherFocusReason);
    else
        QWidget::keyPressEvent(pEvent);
}

void PopupWidget::paintEvent(QPaintEvent *)
{
    const AppState &s = AppState::instance();
    QPainter painter(this);
    if (LookColours::highContrast()) {
        paintContrast(painter);
        return;
    }
    if (bIsPopup) {
        painter.fillPath(path, s.greys[0]);
        painter.setPen(s.greys[3]);
        painter.drawPolygon(edge);
        return;
    }
    painter.fillRect(rect(), s.greys[4]);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), s.greys[0]);
    const QRect strip(0, 0, width(), titleHeight());
    painter.fillRect(strip, s.greys[4]);
    QLinearGradient gradient(0, 0, 0, strip.height());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(0.1, s.greys[3]);
    gradient.setColorAt(0.97, s.greys[3]);
    gradient.setColorAt(1.0, Qt::white);
    painter.fillRect(strip.adjusted(1, 1, -1, -1), gradient);
    const int textLeft = minBtn->geometry().right() + scaled(6);
    painter.setPen(Qt::white);
    painter.drawText(QRect(textLeft, 0, width() - textLeft - scaled(4), strip.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, strTitle);
}

void PopupWidget::paintContrast(QPainter &painter)
{
    const QColor ink = LookColours::ink();
    const QColor face = LookColours::face();
    if (bIsPopup) {
        painter.fillPath(path, face);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(ink, 2));
        painter.drawPolygon(edge);
        return;
    }
    painter.fillRect(rect(), ink);
    painter.fillRect(rect().adjusted(2, 2, -2, -2), face);
    const QRect strip(0, 0, width(), titleHeight());
    painter.fillRect(strip, ink);
    const int textLeft = minBtn->geometry().right() + scaled(6);
    painter.setPen(face);
    painter.drawText(QRect(textLeft, 0, width() - textLeft - scaled(4), strip.height()),
                     Qt::AlignVCenter | Qt::AlignLeft, strTitle);
}

void PopupWidget::mousePressEvent(QMouseEvent *pEvent)
{
    if (bIsPopup) {
        if (!path.contains(pEvent->position()))
            close();
        return;
    }
    if (pEvent->button() != Qt::LeftButton)
        return;
    dragState = 1;
    pressPoint = pEvent->position().toPoint();
    pressOffset = pEvent->globalPosition().toPoint() - mapToGlobal(QPoint(0, 0));
}

void PopupWidget::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (bIsPopup || dragState == 0 || !(pEvent->buttons() & Qt::LeftButton))
        return;
    // The toolbar's own threshold, so both move alike.
    const int threshold = 6 * QApplication::startDragDistance();
    if (dragState == 1
        && (pEvent->position().toPoint() - pressPoint).manhattanLength() >= threshold)
        dragState = 2;
    if (dragState == 2)
        move(toMoveCoordinates(pEvent->globalPosition().toPoint() - pressOffset));
}

void PopupWidget::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (bIsPopup || pEvent->button() != Qt::LeftButton || dragState == 0)
        return;
    const bool dragged = dragState == 2;
    dragState = 0;
    if (!dragged)
        return;
    raise();
    keepInsideArea();
}

void PopupWidget::keepInsideArea()
{
    const QRect area = allowedArea();
    QPoint p = pos();
    if (!area.isEmpty()) {
        p.setX(qMin(p.x(), area.right() + 1 - width()));
        p.setY(qMin(p.y(), area.bottom() + 1 - height()));
        p.setX(qMax(p.x(), area.left()));
        p.setY(qMax(p.y(), area.top()));
    }
    move(p);
    if (place)
        place->pos = p;
}
