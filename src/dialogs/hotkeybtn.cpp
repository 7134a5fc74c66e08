#include "hotkeybtn.h"

#include "app/appstate.h"
#include "widgets/toolbarscale.h"

#include <QPainter>

HotKeyBtn::HotKeyBtn(QWidget *pParent)
    : QToolButton(pParent)
{
    setFixedSize(ToolbarScale::px(this, 20), ToolbarScale::px(this, 16));
    // Backspace in the field clears it just as well, one Tab stop fewer.
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::ArrowCursor);
}

void HotKeyBtn::paintEvent(QPaintEvent *)
{
    const AppState &s = AppState::instance();
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool hot = underMouse() || isDown();
    const QColor ink = isEnabled() ? (hot ? s.greys[4] : s.greys[3]) : s.greys[2];
    const double u = ToolbarScale::ui(this);
    painter.setPen(QPen(ink, 1.5 * u, Qt::SolidLine, Qt::RoundCap));
    const QPointF centre = QRectF(rect()).center();
    const double arm = 3.5 * u;
    painter.drawLine(centre + QPointF(-arm, -arm), centre + QPointF(arm, arm));
    painter.drawLine(centre + QPointF(-arm, arm), centre + QPointF(arm, -arm));
}
