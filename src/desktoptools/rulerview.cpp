#include "rulerview.h"

#include "app/lang.h"
#include "platform/platform.h"
#include "widgets/fullscreendialog.h"

#include "app/devicepixels.h"
#include "widgets/toolbarscale.h"

#include <QCursor>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

namespace {
const QColor DarkGrey(30, 30, 30);
const QColor MidGrey(120, 120, 120);
const int Margin = 10;
const int Piece = 25; // source pixels shown across the view
const int Zoom = 9;
} // namespace

RulerView::RulerView(QWidget *pParent)
    : QWidget(pParent)
    , outOfX(Lang::single("Tools", QStringLiteral("Out[x: %1], y: %2")))
    , outOfY(Lang::single("Tools", QStringLiteral("x: %1, Out[y: %2]")))
{
    if (!pParent)
        setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(Side, Side);
    move(topLeftSpot());
    QFont smaller = font();
    smaller.setPointSizeF(8.0 * 96.0 / logicalDpiX() / ToolbarScale::ui(this));
    setFont(smaller);
    refreshTimer.setInterval(500);
    connect(&refreshTimer, &QTimer::timeout, this, &RulerView::slot_GetScreenPixmap);
    hide();
}

QRect RulerView::area() const
{
    if (parentWidget())
        return parentWidget()->rect();
    QScreen *screen = FullScreenDialog::currentScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

QPoint RulerView::topLeftSpot() const
{
    return area().topLeft() + QPoint(Margin, Margin);
}

QPoint RulerView::bottomRightSpot() const
{
    const QRect a = area();
    return QPoint(a.right() + 1 - Margin - Side, a.bottom() + 1 - Margin - Side);
}

void RulerView::start()
{
    pointer = QCursor::pos();
    Platform &platform = Platform::instance();
    // Where the desktop hands its picture over in its own time, it shows
    // once it is in; the ruler works meanwhile.
    if (platform.fetchDesktop())
        waiting = connect(&platform.grabNotices(), &GrabNotices::signal_Fetched, this,
                          &RulerView::slot_GetScreenPixmap, Qt::SingleShotConnection);
    else
        slot_GetScreenPixmap();
    show();
    raise();
    // Where each picture of the screen is a request to the desktop, the
    // first one has to do.
    if (platform.grabsAreLive())
        refreshTimer.start();
}

void RulerView::stop()
{
    if (disconnect(waiting))
        Platform::instance().cancelFetch();
    screenPicture = QPixmap();
    hide();
    refreshTimer.stop();
}

void RulerView::slot_GetScreenPixmap()
{
    QScreen *screen = QGuiApplication::screenAt(pointer);
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    screenPicture = Platform::instance().grabScreen(screen);
    update();
}

void RulerView::place(const QPoint &markerPoint, const QPoint &pointerPoint, int iOut)
{
    marker = markerPoint;
    pointer = pointerPoint;
    out = iOut;
    // Where the view was put, not where the window system last said it was.
    const QPoint spot = atBottomRight ? bottomRightSpot() : topLeftSpot();
    const QRect onScreen(parentWidget() ? parentWidget()->mapToGlobal(spot) : spot, size());
    if (onScreen.contains(pointerPoint)) {
        atBottomRight = !atBottomRight;
        move(atBottomRight ? bottomRightSpot() : topLeftSpot());
    }
    update();
}

QString RulerView::caption() const
{
    switch (out) {
    case OutHorizontal:
        return outOfX.arg(marker.x()).arg(marker.y());
    case OutVertical:
        return outOfY.arg(marker.x()).arg(marker.y());
    default:
        return QStringLiteral("x: %1, y: %2").arg(marker.x()).arg(marker.y());
    }
}

void RulerView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), DarkGrey);
    painter.setClipRect(rect().adjusted(1, 1, -1, -1));
    paintEnlarged(painter);

    const QRect strip(0, height() - 20, width(), 20);
    painter.fillRect(strip, MidGrey);
    painter.setPen(out == Inside ? QColor(Qt::white) : QColor(255, 0, 0));
    painter.drawText(strip, Qt::AlignCenter, caption());
}

// A piece cut short by the screen's edge is pushed to the view's far side so
// that the marked pixel stays under the centre cross.
void RulerView::paintEnlarged(QPainter &painter) const
{
    QScreen *screen = QGuiApplication::screenAt(pointer);
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    const QPoint p = marker - origin;
    const QSize shown = DevicePixels::logicalSize(screenPicture);
    const QRect source
        = QRect(p.x() - Piece / 2, p.y() - Piece / 2, Piece, Piece) & QRect(QPoint(0, 0), shown);
    const QPixmap piece = DevicePixels::copy(screenPicture, source);
    if (!piece.isNull()) {
        const QSize big = source.size() * Zoom;
        const int x = p.x() <= shown.width() / 2 ? Side - big.width() : 0;
        const int y = p.y() <= shown.height() / 2 ? Side - big.height() : 0;
        painter.drawPixmap(QRect(QPoint(x, y), big), piece);
    }
    painter.setCompositionMode(QPainter::CompositionMode_Difference);
    painter.setPen(QColor(0, 255, 255));
    painter.setBrush(Qt::NoBrush);
    const int mid = (Side - 1) / 2;
    painter.drawLine(mid, 0, mid, Side - 1);
    painter.drawLine(0, mid, Side - 1, mid);
    const int corner = (Side - 9) / 2;
    painter.drawRect(corner, corner, 7, 7);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
}
