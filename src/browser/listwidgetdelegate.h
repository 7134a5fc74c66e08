#pragma once

#include <QStyledItemDelegate>

// Paints one page of the browser: the tile background, the thumbnail, the
// selection, the close icon at the top right and the page label.
class ListWidgetDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Where the close icon of an item with rectangle `item` lies.
    static QRect deleteRect(const QRect &item);

    void paint(QPainter *pPainter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    static void paintIcon(QPainter *pPainter, const QStyleOptionViewItem &option,
                          const QModelIndex &index);
    static void paintDeleteIcon(QPainter *pPainter, const QRect &item);
};
