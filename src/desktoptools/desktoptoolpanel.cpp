#include "desktoptoolpanel.h"

#include "app/lang.h"
#include "toolbar/closebtn.h"
#include "toolbar/toolbarscale.h"

#include <QLinearGradient>
#include <QPainter>

namespace {
const QColor DarkGrey(30, 30, 30);
const QColor MidGrey(120, 120, 120);
const QColor LightGrey(230, 230, 230);
} // namespace

DesktopToolPanel::DesktopToolPanel(const QString &strTitle, QWidget *pParent)
    : QWidget(pParent)
    , title(strTitle)
    , close(new CloseBtn(this))
{
    setAttribute(Qt::WA_NoMousePropagation);
    setCursor(Qt::ArrowCursor);
    close->setToolTip(Lang::tr("Tools", QStringLiteral("Close")));
    close->move(unit(2), unit(2));
}

int DesktopToolPanel::unit(double n) const
{
    return int(n * ToolbarScale::ui(this));
}

void DesktopToolPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), DarkGrey);
    painter.fillRect(rect().adjusted(1, 1, -1, -1), LightGrey);
    const int strip = stripHeight();
    painter.fillRect(0, 0, width(), strip, DarkGrey);
    const QRect inner(1, 1, width() - 2, strip - 2);
    QLinearGradient gradient(inner.topLeft(), inner.bottomLeft());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(0.1, MidGrey);
    gradient.setColorAt(0.97, MidGrey);
    gradient.setColorAt(1, Qt::white);
    painter.fillRect(inner, gradient);
    if (title.isEmpty())
        return;
    const QRect text(strip, 0, width() - strip, strip);
    painter.setPen(DarkGrey);
    painter.drawText(text.translated(1, 1), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setPen(LightGrey);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, title);
}
