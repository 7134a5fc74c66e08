#include "listwidgetdelegate.h"

#include "app/appstate.h"
#include "app/resourcepixmap.h"
#include "browser.h"

#include <QIcon>
#include <QPainter>

namespace {

bool scaledUp()
{
    return AppState::instance().scaled(100) > 100;
}

} // namespace

QRect ListWidgetDelegate::deleteRect(const QRect &item)
{
    const AppState &s = AppState::instance();
    const int side = s.scaled(16);
    return QRect(item.x() + item.width() - s.scaled(2) - side, item.y() + s.scaled(3), side, side);
}

void ListWidgetDelegate::paint(QPainter *pPainter, const QStyleOptionViewItem &option,
                               const QModelIndex &index) const
{
    const QRect r = option.rect;
    pPainter->save();
    static const QImage tile
        = ResourcePixmap::load(QStringLiteral(":/Res/Browser_BG"), true).toImage();
    pPainter->drawImage(r, tile);
    pPainter->setPen(Qt::black);
    pPainter->drawRect(r.adjusted(0, 0, -1, -1));
    paintIcon(pPainter, option, index);

    QColor textColour = Browser::textColour();
    if (option.state & QStyle::State_Selected) {
        const QColor highlight = option.palette.color(QPalette::Highlight);
        pPainter->setOpacity(0.3);
        pPainter->fillRect(r, highlight);
        pPainter->setOpacity(1.0);
        pPainter->setPen(highlight);
        pPainter->drawRect(r.adjusted(0, 0, -1, -1));
        textColour = Qt::white;
    }
    paintDeleteIcon(pPainter, r);

    const int margin = AppState::instance().scaled(4);
    const QString label = option.fontMetrics.elidedText(index.data(Qt::DisplayRole).toString(),
                                                        Qt::ElideRight, r.width() - margin);
    pPainter->setPen(textColour);
    pPainter->drawText(r.adjusted(0, 0, 0, -margin), Qt::AlignHCenter | Qt::AlignBottom, label);
    pPainter->restore();
}

void ListWidgetDelegate::paintIcon(QPainter *pPainter, const QStyleOptionViewItem &option,
                                   const QModelIndex &index)
{
    // The thumbnail itself, drawn at its own device pixel ratio.
    const QImage picture = index.data(Qt::UserRole).value<QImage>();
    if (picture.isNull())
        return;
    const QSize shown = picture.deviceIndependentSize().toSize();
    const QRect r = option.rect;
    const int height = r.height() - option.fontMetrics.height();
    pPainter->drawImage(
        QPoint(r.x() + (r.width() - shown.width()) / 2, r.y() + (height - shown.height()) / 2),
        picture);
}

void ListWidgetDelegate::paintDeleteIcon(QPainter *pPainter, const QRect &item)
{
    const bool highRes = scaledUp() || AppState::instance().enableTouchUI;
    static const QImage normal
        = ResourcePixmap::load(QStringLiteral(":/Res/Deletepage"), false).toImage();
    static const QImage twin
        = ResourcePixmap::load(QStringLiteral(":/Res/Deletepage"), true).toImage();
    pPainter->setRenderHint(QPainter::SmoothPixmapTransform, scaledUp());
    pPainter->drawImage(deleteRect(item), highRes ? twin : normal);
}

QSize ListWidgetDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const QSize icon = option.decorationSize;
    return QSize(icon.width(),
                 icon.height() + option.fontMetrics.height() + AppState::instance().scaled(4));
}
