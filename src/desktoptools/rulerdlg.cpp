#include "rulerdlg.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "app/placekeeper.h"
#include "app/resourcepixmap.h"
#include "app/settledannouncement.h"
#include "arrowstep.h"
#include "createbtn.h"
#include "rulerpreferencesdlg.h"
#include "rulerscale.h"
#include "rulerview.h"
#include "widgets/closebtn.h"
#include "widgets/fullscreendialog.h"
#include "widgets/menubtn.h"
#include "widgets/toolbarscale.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace {
const QColor DarkGrey(30, 30, 30);
const QColor LightGrey(230, 230, 230);
const QColor Red(255, 0, 0);
} // namespace

RulerDlg::RulerDlg(bool bVertical, bool bModeless, QWidget *pParent)
    : QDialog(pParent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , unit(AppState::instance().ruler.unit)
    , dotsPerInch(AppState::instance().ruler.dpi)
    , light(AppState::instance().ruler.light)
    , vertical(bVertical)
    , modeless(bModeless)
    , opacity(AppState::instance().ruler.opacity)
    , keeper(new PlaceKeeper(this))
    , announcement(new SettledAnnouncement(
          this, [this] { return spokenRuler(); }, 400))
{
    QFont smaller = font();
    smaller.setPointSizeF(8.0 * 96.0 / logicalDpiX());
    setFont(smaller);
    rulerView = new RulerView(bModeless ? nullptr : pParent);
    createButtons();
    layOut();
    setWindowOpacity(opacity / 100.0);
    setMouseTracking(true);
}

RulerDlg::~RulerDlg()
{
    delete rulerView;
}

void RulerDlg::createButtons()
{
    closeBtn = new CloseBtn(this);
    if (modeless) {
        connect(closeBtn, &QToolButton::clicked, this, &RulerDlg::slot_Close);
        createBtn = new CreateBtn(this);
        connect(createBtn, &QToolButton::clicked, this, &RulerDlg::slot_Create);
    } else {
        connect(closeBtn, &QToolButton::clicked, this, &QDialog::reject);
    }
    preferencesBtn = new MenuBtn(this);
    connect(preferencesBtn, &QToolButton::clicked, this, &RulerDlg::slot_Preferences);
    slot_UpdateLang();
}

void RulerDlg::slot_UpdateLang()
{
    closeBtn->setToolTip(Lang::tr("Tools", QStringLiteral("Close")));
    if (createBtn)
        createBtn->setToolTip(Lang::tr("Tools", QStringLiteral("Add Ruler")));
    preferencesBtn->setToolTip(Lang::tr("Tools", QStringLiteral("Ruler Preferences")));
    Lang::release();
}

RulerView *RulerDlg::view() const
{
    return rulerView;
}

QString RulerDlg::spokenRuler() const
{
    const QString text = vertical ? QStringLiteral("Vertical ruler, x %1, y %2, length %3")
                                  : QStringLiteral("Horizontal ruler, x %1, y %2, length %3");
    const QPoint place = keeper->target();
    return Lang::single("Accessible", text)
        .arg(place.x())
        .arg(place.y())
        .arg(RulerScale::valueText(unit, dotsPerInch, length()).replace(QChar('\n'), QChar(' ')));
}

int RulerDlg::length() const
{
    return vertical ? height() : width();
}

int RulerDlg::thickness() const
{
    return vertical ? width() : height();
}

QRect RulerDlg::area() const
{
    if (!modeless && parentWidget())
        return QRect(parentWidget()->mapToGlobal(QPoint(0, 0)), parentWidget()->size());
    QScreen *screen = FullScreenDialog::currentScreen();
    return screen ? screen->geometry() : QRect();
}

void RulerDlg::layOut()
{
    markerPos = 0;
    const double u = ToolbarScale::ui(this);
    const auto n = [u](int base) { return int(base * u); };
    if (vertical) {
        setFixedSize(n(100), n(480));
        closeBtn->move(n(8), n(4));
        if (createBtn)
            createBtn->move(closeBtn->width() + n(8), n(4));
        preferencesBtn->move(width() - preferencesBtn->width() - n(8), n(4));
    } else {
        setFixedSize(n(640), n(100));
        closeBtn->move(n(8), n(6));
        if (createBtn)
            createBtn->move(n(8), n(6) + closeBtn->height());
        preferencesBtn->move(n(8), height() - preferencesBtn->height() - n(6));
    }
    moveTo(area().center() - QPoint(width() / 2, height() / 2));
    update();
}

void RulerDlg::moveTo(const QPoint &topLeft)
{
    move(topLeft);
    keeper->expect(topLeft);
    announcement->changed();
}

// What the window system reports can lag behind, so the place is taken from
// what the pointer tells: its position on the screen less that in the ruler.
void RulerDlg::learnPlace(const QMouseEvent *pEvent)
{
    keeper->expect((pEvent->globalPosition() - pEvent->position()).toPoint());
}

void RulerDlg::dismiss()
{
    if (modeless)
        slot_Close();
    else
        reject();
}

void RulerDlg::setButtonsVisible(bool bVisible)
{
    closeBtn->setVisible(bVisible);
    if (createBtn)
        createBtn->setVisible(bVisible);
    preferencesBtn->setVisible(bVisible);
}

void RulerDlg::slot_Close()
{
    Q_EMIT signal_DeleteRuler(this);
}

void RulerDlg::slot_Create()
{
    Q_EMIT signal_CreateRuler(!vertical);
}

void RulerDlg::slot_Preferences()
{
    RulerPreferencesDlg dialog(this);
    dialog.exec();
}

void RulerDlg::slot_ChangeUnits(int iUnit)
{
    unit = qBound(0, iUnit, int(RulerScale::UnitCount) - 1);
    AppState::instance().ruler.unit = unit;
    announcement->changed();
    update();
}

void RulerDlg::slot_ChangeDpi(int iDpi)
{
    dotsPerInch = qBound(8, iDpi, 800);
    AppState::instance().ruler.dpi = dotsPerInch;
    announcement->changed();
    update();
}

void RulerDlg::slot_ChangeColor(int iColor)
{
    light = iColor != 0;
    AppState::instance().ruler.light = light;
    update();
}

void RulerDlg::slot_ChangeLayout(int iLayout)
{
    const bool bVertical = iLayout != 0;
    AppState::instance().ruler.vertical = bVertical;
    if (bVertical != vertical) {
        vertical = bVertical;
        layOut();
    }
}

// Anything but a number from the offered steps is ignored or brought into
// range: a window at opacity 0 could no longer be found to close it.
void RulerDlg::slot_ChangeOpacity(const QString &strOpacity)
{
    bool ok = false;
    const int value = strOpacity.trimmed().toInt(&ok);
    if (!ok)
        return;
    opacity = qBound(10, value, 100);
    AppState::instance().ruler.opacity = opacity;
    setWindowOpacity(opacity / 100.0);
}

QRect RulerDlg::oriented(int iAlong, int iAcross, int iLength, int iDepth) const
{
    return vertical ? QRect(iAcross, iAlong, iDepth, iLength)
                    : QRect(iAlong, iAcross, iLength, iDepth);
}

QPoint RulerDlg::orientedPoint(int iAlong, int iAcross) const
{
    return vertical ? QPoint(iAcross, iAlong) : QPoint(iAlong, iAcross);
}

bool RulerDlg::inGripStrip(const QPoint &p) const
{
    return along(p) >= length() - GripLength;
}

QRect RulerDlg::markerSquare(int iSide) const
{
    return oriented(markerPos, (thickness() - iSide) / 2, iSide, iSide);
}

void RulerDlg::setIdleCursor(const QPoint &p)
{
    if (inGripStrip(p))
        setCursor(vertical ? Qt::SizeVerCursor : Qt::SizeHorCursor);
    else
        setCursor(Qt::ArrowCursor);
}

// A marker held at the far end lies in the grip strip; it wins there, or it
// could never be dragged back.
void RulerDlg::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() != Qt::LeftButton)
        return;
    const QPoint p = pEvent->position().toPoint();
    learnPlace(pEvent);
    pressed = true;
    pressPoint = p;
    if (markerSquare(32).contains(p)) {
        measuring = true;
        setButtonsVisible(false);
        rulerView->start();
        placeView(pEvent->globalPosition().toPoint(), RulerView::Inside);
    } else if (inGripStrip(p)) {
        resizing = true;
        widthAtPress = width();
        heightAtPress = height();
    }
}

void RulerDlg::mouseMoveEvent(QMouseEvent *pEvent)
{
    const QPoint p = pEvent->position().toPoint();
    if (!pressed || measuring)
        learnPlace(pEvent);
    if (!pressed)
        setIdleCursor(p);
    else if (resizing)
        resizeTo(p);
    else if (measuring)
        measureAt(p, pEvent->globalPosition().toPoint());
    else
        moveTo(pEvent->globalPosition().toPoint() - pressPoint);
}

void RulerDlg::resizeTo(const QPoint &p)
{
    const int moved = along(p) - along(pressPoint);
    setLength((vertical ? heightAtPress : widthAtPress) + moved);
}

void RulerDlg::setLength(int iLength)
{
    const int newLength = qMax(int(MinLength), iLength);
    if (vertical)
        setFixedSize(width(), newLength);
    else
        setFixedSize(newLength, height());
    // A shorter ruler cannot hold a reading past its end.
    markerPos = qMin(markerPos, newLength - EndGap);
    announcement->changed();
    update();
}

void RulerDlg::measureAt(const QPoint &p, const QPoint &global)
{
    const int outFlag = vertical ? RulerView::OutVertical : RulerView::OutHorizontal;
    const int a = along(p);
    int out = RulerView::Inside;
    if (a < 1) {
        markerPos = 0;
        out = outFlag;
    } else if (a <= length() - EndGap) {
        markerPos = a;
    } else {
        markerPos = length() - EndGap;
        out = outFlag;
    }
    update();
    placeView(global, out);
}

// The view shows the marker's place along the ruler at the pointer's height
// across it.
void RulerDlg::placeView(const QPoint &global, int iOut)
{
    const QPoint markerPoint = vertical ? QPoint(global.x(), keeper->target().y() + markerPos)
                                        : QPoint(keeper->target().x() + markerPos, global.y());
    rulerView->place(markerPoint, global, iOut);
}

void RulerDlg::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::RightButton)
        dismiss();
    setButtonsVisible(true);
    rulerView->stop();
    pressed = false;
    resizing = false;
    measuring = false;
    setIdleCursor(pEvent->position().toPoint());
}

void RulerDlg::keyPressEvent(QKeyEvent *pEvent)
{
    const QPoint step = ArrowStep(pEvent);
    const QPoint resize = ArrowResize(pEvent);
    if (!step.isNull())
        moveTo(keeper->target() + step);
    else if (!resize.isNull())
        setLength(length() + resize.x() + resize.y());
    else if (pEvent->key() == Qt::Key_Escape)
        dismiss();
    else
        QDialog::keyPressEvent(pEvent);
}

// A desktop-mode ruler closed from outside (the window system) still has to
// leave the main window's list, or the toolbar would never come back.
void RulerDlg::closeEvent(QCloseEvent *pEvent)
{
    if (!modeless) {
        QDialog::closeEvent(pEvent);
        return;
    }
    pEvent->ignore();
    slot_Close();
}

void RulerDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, logicalDpiX() > 96);
    paintBody(painter);
    paintScale(painter);
    paintMarker(painter);
    paintGrips(painter);
}

void RulerDlg::paintBody(QPainter &painter) const
{
    painter.fillRect(rect(), light ? DarkGrey : QColor(Qt::black));
    painter.fillRect(rect().adjusted(1, 1, -1, -1), light ? LightGrey : DarkGrey);
}

void RulerDlg::paintScale(QPainter &painter) const
{
    const int len = length();
    const int thick = thickness();
    painter.save();
    painter.setClipRect(oriented(0, 0, len - EndGap, thick));
    painter.setPen(light ? DarkGrey : LightGrey);
    for (const RulerMark &mark : RulerScale::marks(unit, dotsPerInch, len)) {
        painter.drawLine(orientedPoint(mark.pos, 0), orientedPoint(mark.pos, mark.length - 1));
        painter.drawLine(orientedPoint(mark.pos, thick - 1),
                         orientedPoint(mark.pos, thick - mark.length));
        if (mark.number < 0)
            continue;
        const QString number = QString::number(mark.number);
        painter.drawText(oriented(mark.pos - 15, 12, 30, 25), Qt::AlignCenter, number);
        painter.drawText(oriented(mark.pos - 15, thick - 37, 30, 25), Qt::AlignCenter, number);
    }
    painter.restore();
}

void RulerDlg::paintMarker(QPainter &painter) const
{
    const int thick = thickness();
    if (markerPos == 0) {
        painter.drawPixmap(oriented(12, (thick - 16) / 2 + 6, 16, 16),
                           half(QStringLiteral(":/Tools/Hand")));
        return;
    }
    painter.setPen(Red);
    painter.drawText(markerSquare(48), Qt::AlignCenter,
                     RulerScale::valueText(unit, dotsPerInch, markerPos));
    painter.drawLine(orientedPoint(1, 0), orientedPoint(1, thick - 1));
    painter.drawLine(orientedPoint(markerPos, 0), orientedPoint(markerPos, thick - 1));
}

void RulerDlg::paintGrips(QPainter &painter) const
{
    const int thick = thickness();
    painter.setOpacity(0.5);
    painter.drawPixmap(
        oriented(length() - GripLength, (thick - 24) / 2, 24, 24),
        half(light ? QStringLiteral(":/Tools/ResizeLight") : QStringLiteral(":/Tools/ResizeDark")));
    painter.setOpacity(1.0);
    painter.drawPixmap(markerSquare(16), half(QStringLiteral(":/Tools/Value")));
}

// The ruler's pictures hold the horizontal ruler's square on the left and the
// vertical ruler's on the right.
QPixmap RulerDlg::half(const QString &strPath) const
{
    const QPixmap both = ResourcePixmap::load(strPath);
    const int side = both.width() / 2;
    return both.copy(vertical ? side : 0, 0, side, both.height());
}
