#pragma once

#include <QAbstractListModel>
#include <QImage>
#include <QList>
#include <QString>

// The page browser's rows: one thumbnail and one label per page, in document
// order. Dragging a row carries its number as a "tavelmark/page" payload.
class BrowserModel : public QAbstractListModel
{
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    static QString mimeType();
    // The row carried by a payload, or -1 when it carries none or garbage.
    static int rowFromMimeData(const QMimeData *pData);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

    void appendThumbnail(const QImage &thumbnail, const QString &strLabel);
    void insertThumbnail(int row, const QImage &thumbnail, const QString &strLabel);
    void setThumbnail(int row, const QImage &thumbnail, const QString &strLabel);
    void setLabel(int row, const QString &strLabel);
    void removeAll();

    QImage thumbnail(int row) const { return thumbnails.value(row); }
    QString label(int row) const { return labels.value(row); }

private:
    QList<QImage> thumbnails;
    QList<QString> labels;
};
