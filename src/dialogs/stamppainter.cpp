#include "stamppainter.h"

#include "app/appstate.h"

#include <QFontMetrics>
#include <QList>
#include <QPainter>
#include <QPainterPath>

QPixmap StampPainter::textPixmap(const QString &strText, const TextStyle &style)
{
    const AppState &s = AppState::instance();
    const QFontMetrics metrics(style.font);
    QList<QPainterPath> paths;
    int width = 0;
    int height = 0;
    const QStringList lines = strText.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        QPainterPath path;
        path.addText(0, metrics.ascent() + i * metrics.lineSpacing(), style.font, lines.at(i));
        paths.append(path.simplified());
        width = qMax(width, metrics.boundingRect(lines.at(i)).width());
        height += 1 + metrics.ascent() + metrics.descent() + metrics.leading();
    }
    QPixmap picture(width + s.scaled(style.font.pointSize()), height);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const int penWidth = style.font.pointSize() / s.scaled(12) + s.scaled(2);
    auto pen = [penWidth](const QColor &colour) {
        return QPen(colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    };
    const int shift = s.scaled(1);
    for (const QPainterPath &path : paths) {
        painter.setOpacity(0.5);
        painter.strokePath(path.translated(shift, shift), pen(Qt::black));
        painter.setOpacity(1.0);
        painter.strokePath(path, pen(style.borderColor));
        painter.fillPath(path, style.textColor);
    }
    return picture;
}

QPixmap StampPainter::numberPixmap(const QString &strNumber, const TextStyle &style)
{
    const int d = AppState::instance().scaled(2);
    const int side = style.font.pointSize() * d;
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(style.textColor);
    painter.setBrush(style.textColor);
    painter.drawEllipse(picture.rect().adjusted(1, 1, -1, -1));
    painter.setPen(style.borderColor);
    painter.setBrush(style.borderColor);
    painter.drawEllipse(picture.rect().adjusted(d + 1, d + 1, -d - 1, -d - 1));
    painter.setPen(style.textColor);
    painter.setFont(style.font);
    painter.drawText(picture.rect(), Qt::AlignCenter, strNumber);
    return picture;
}
