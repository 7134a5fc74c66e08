#include "pagelabel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QWidget>

QString PageLabel::words(const Text &text)
{
    QString numbers = QStringLiteral("%1 | %2").arg(text.number).arg(text.count);
    if (text.zoomPercent != 100)
        numbers += QStringLiteral("   %1%").arg(text.zoomPercent);
    if (!text.progress.isEmpty())
        numbers += QStringLiteral("   ") + text.progress;
    return text.name.isEmpty() ? numbers : text.name + QStringLiteral("   ") + numbers;
}

// 14 points; with the touch interface as large as on a screen of 192 dpi.
QFont PageLabel::font(const QWidget *view, bool touch)
{
    QFont font = view->font();
    font.setPointSizeF(touch ? 14.0 * 192 / view->logicalDpiX() : 14.0);
    return font;
}

QRect PageLabel::box(const QWidget *view, const Text &text, bool touch) const
{
    if (text == measuredText && view->size() == measuredSize && touch == measuredTouch
        && view->logicalDpiX() == measuredDpi && view->font() == measuredFont)
        return measured;
    const double scale = touch ? 2.0 : view->logicalDpiX() / 96.0;
    const int d = qRound(10 * scale);
    measured = QFontMetrics(font(view, touch))
                   .boundingRect(view->rect(), Qt::AlignTop | Qt::AlignRight, words(text))
                   .translated(-d, d);
    measuredText = text;
    measuredSize = view->size();
    measuredTouch = touch;
    measuredDpi = view->logicalDpiX();
    measuredFont = view->font();
    return measured;
}

void PageLabel::paint(QPainter &painter, const QWidget *view, const Text &text, bool touch,
                      bool onPlate) const
{
    const QRect area = box(view, text, touch);
    painter.save();
    if (onPlate) {
        // Over a running desktop a thin shadow is lost on light and busy
        // backgrounds: the label sits on a plate of its own.
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 230));
        painter.drawRoundedRect(area.adjusted(-5, -1, 4, 1), 4, 4);
    }
    painter.setFont(font(view, touch));
    const QString shown = words(text);
    painter.setPen(Qt::white);
    painter.drawText(area, Qt::AlignTop | Qt::AlignRight, shown);
    painter.setPen(Qt::black);
    painter.drawText(area.translated(-1, -1), Qt::AlignTop | Qt::AlignRight, shown);
    painter.restore();
}
