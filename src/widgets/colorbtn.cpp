#include "colorbtn.h"

#include "app/appstate.h"
#include "focusring.h"

#include <QColorDialog>
#include <QPainter>

ColorBtn::ColorBtn(const QString &strText, QWidget *pParent)
    : QToolButton(pParent)
{
    setText(strText);
    connect(this, &QToolButton::clicked, this, &ColorBtn::slot_Color);
}

void ColorBtn::setColor(const QColor &c)
{
    colour = c;
    update();
}

void ColorBtn::slot_Color()
{
    const QColor chosen = QColorDialog::getColor(colour, parentWidget(), QString(),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return;
    setColor(chosen);
    Q_EMIT signal_Color(colour);
}

QSize ColorBtn::sizeHint() const
{
    const int s = AppState::instance().scaled(22);
    const QSize own = QToolButton::sizeHint();
    return QSize(own.width() + s, qMax(s, own.height()));
}

void ColorBtn::paintEvent(QPaintEvent *)
{
    const AppState &state = AppState::instance();
    const int s = state.scaled(22);
    const int inset = state.scaled(2);
    const int y0 = (height() - s) / 2;
    QPainter painter(this);
    const QPen grey(QColor(128, 128, 128));
    painter.setPen(grey);
    painter.setBrush(isDown() ? QColor(160, 160, 160) : QColor(Qt::white));
    const QRect swatch(QPoint(0, y0), QPoint(s - 2, y0 + s - 2));
    painter.drawRect(swatch);
    painter.setBrush(colour);
    painter.drawRect(swatch.adjusted(inset, inset, -inset, -inset));
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(s, 0), rect().bottomRight()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QLatin1Char(' ') + text());
    if (hasFocus())
        FocusRing::paint(painter, rect(), this);
}
