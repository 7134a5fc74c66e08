#include "pickerdlg.h"

#include "app/devicepixels.h"
#include "app/exactpointer.h"
#include "app/lang.h"
#include "app/resourcepixmap.h"
#include "app/scaledcursor.h"
#include "app/settledannouncement.h"
#include "arrowstep.h"
#include "pickeroptionwidget.h"
#include "widgets/closebtn.h"
#include "widgets/colourname.h"

#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>

namespace {
const int NoticeSide = 128;
const int NoticeArea = 200;
const int NoticeSteps = 11;
} // namespace

PickerDlg::PickerDlg(QPixmap *pScreenImage, bool bPickAndClose, QWidget *pParent)
    : FullScreenDialog(pParent)
    , screenImage(pScreenImage)
    , still(pScreenImage->toImage())
    , pickAndClose(bPickAndClose)
    , noticeTimer(new QTimer(this))
    , notice(ResourcePixmap::load(QStringLiteral(":/Tools/Clipboard")))
    , announcement(new SettledAnnouncement(
          this, [this] { return spokenColour(); }, 400))
{
    setMouseTracking(true);
    ExactPointer::watch();
    const QString title = bPickAndClose
        ? Lang::tr("Tools", QStringLiteral("Color Picker"))
        : Lang::tr("Tools", QStringLiteral("Copy To Clipboard: mouse click(or Ctrl+C)"));
    Lang::release();
    panel = new PickerOptionWidget(title, &still, this);
    connect(panel->closeButton(), &QAbstractButton::clicked, this, &QDialog::reject);
    panel->move(width() - 10 - panel->width(), 10);
    panel->show();
    sample(toImage(QPoint(width() / 2, height() / 2)));

    setCursor(ScaledCursor::make(QStringLiteral(":/Cursor/Picker"), QPoint(3, 20)));
    auto *copy = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_C), this);
    connect(copy, &QShortcut::activated, this, &PickerDlg::slot_StoreRgbInfoToClipboard);
    connect(noticeTimer, &QTimer::timeout, this, &PickerDlg::slot_ShowClipboardTimeOut);
}

QPoint PickerDlg::toImage(const QPointF &dialogPoint) const
{
    // The picture may hold more pixels than the dialog on a scaled screen.
    return DevicePixels::pixel(QPointF(dialogPoint.x() * still.width() / qMax(1, width()),
                                       dialogPoint.y() * still.height() / qMax(1, height())),
                               1.0);
}

void PickerDlg::sample(const QPoint &imagePixel)
{
    if (still.isNull())
        return;
    // Kept on the picture, so that the colour always belongs to a real pixel.
    pixel = QPoint(qBound(0, imagePixel.x(), still.width() - 1),
                   qBound(0, imagePixel.y(), still.height() - 1));
    colour = still.pixel(pixel) | 0xff000000u;
    panel->setColor(colour, pixel);
    announcement->changed();
}

QString PickerDlg::spokenColour() const
{
    const QString name = ColourName::spoken(QColor(colour));
    Lang::release();
    return name + QStringLiteral(", ") + QColor(colour).name();
}

void PickerDlg::mouseMoveEvent(QMouseEvent *pEvent)
{
    const QPointF p = DevicePixels::position(this, pEvent);
    if (QRectF(rect()).contains(p))
        sample(toImage(p));
}

void PickerDlg::mouseReleaseEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::RightButton) {
        reject();
    } else if (pEvent->button() == Qt::LeftButton) {
        pick();
    }
}

void PickerDlg::pick()
{
    slot_StoreRgbInfoToClipboard();
    if (pickAndClose)
        done(1);
}

void PickerDlg::keyReleaseEvent(QKeyEvent *pEvent)
{
    const QPoint d = ArrowStep(pEvent);
    if (!d.isNull())
        sample(pixel + d);
    else if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter)
        pick(); // as a left click
    else
        FullScreenDialog::keyReleaseEvent(pEvent);
}

void PickerDlg::slot_StoreRgbInfoToClipboard()
{
    if (pickAndClose)
        return;
    const QColor c(colour);
    int h = 0;
    int s = 0;
    int v = 0;
    c.getHsv(&h, &s, &v);
    ++copyCount;
    copiedText += QStringLiteral("%1-Hex: %2; RGB: %3,%4,%5; HSV: %6,%7,%8\n")
                      .arg(copyCount)
                      .arg(c.name())
                      .arg(c.red())
                      .arg(c.green())
                      .arg(c.blue())
                      .arg(h)
                      .arg(s)
                      .arg(v);
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    auto *data = new QMimeData;
    data->setText(copiedText);
    clipboard->setMimeData(data);

    noticeTimer->stop();
    noticeCountdown = NoticeSteps;
    noticeTimer->start(50);
    update(noticeArea());
}

void PickerDlg::slot_ShowClipboardTimeOut()
{
    --noticeCountdown;
    update(noticeArea());
    if (noticeCountdown <= 0)
        noticeTimer->stop();
}

QRect PickerDlg::noticeArea() const
{
    return QRect((width() - NoticeArea) / 2, (height() - NoticeArea) / 2, NoticeArea, NoticeArea);
}

void PickerDlg::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(rect(), *screenImage);
    if (noticeCountdown <= 0)
        return;
    painter.setOpacity(qMin(1.0, noticeCountdown / 10.0));
    painter.setRenderHint(QPainter::SmoothPixmapTransform, logicalDpiX() > 96);
    const QRect square((width() - NoticeSide) / 2, (height() - NoticeSide) / 2, NoticeSide,
                       NoticeSide);
    painter.drawPixmap(square, notice);
}
