#include "browsermodel.h"

#include <QDataStream>
#include <QIODevice>
#include <QIcon>
#include <QMimeData>
#include <QPixmap>

QString BrowserModel::mimeType()
{
    return QStringLiteral("tavelmark/page");
}

int BrowserModel::rowFromMimeData(const QMimeData *pData)
{
    if (!pData || !pData->hasFormat(mimeType()))
        return -1;
    const QByteArray bytes = pData->data(mimeType());
    if (bytes.size() != int(sizeof(qint32)))
        return -1;
    QDataStream stream(bytes);
    qint32 row = -1;
    stream >> row;
    return stream.status() == QDataStream::Ok ? row : -1;
}

int BrowserModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(thumbnails.size());
}

QVariant BrowserModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    if (!index.isValid() || row >= thumbnails.size())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return labels.value(row);
    case Qt::DecorationRole:
        return QIcon(QPixmap::fromImage(thumbnails.at(row)));
    case Qt::UserRole:
        return thumbnails.at(row);
    default:
        return {};
    }
}

Qt::ItemFlags BrowserModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsEditable;
    return Qt::ItemIsSelectable | Qt::ItemIsEditable | Qt::ItemIsDragEnabled | Qt::ItemIsEnabled;
}

Qt::DropActions BrowserModel::supportedDropActions() const
{
    return Qt::MoveAction;
}

QStringList BrowserModel::mimeTypes() const
{
    return { mimeType() };
}

QMimeData *BrowserModel::mimeData(const QModelIndexList &indexes) const
{
    if (indexes.isEmpty() || !indexes.first().isValid())
        return nullptr;
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << qint32(indexes.first().row());
    auto *payload = new QMimeData;
    payload->setData(mimeType(), bytes);
    return payload;
}

bool BrowserModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row >= thumbnails.size() || count < 1)
        return false;
    const int last = qMin(row + count, int(thumbnails.size())) - 1;
    beginRemoveRows(QModelIndex(), row, last);
    thumbnails.remove(row, last - row + 1);
    labels.remove(row, last - row + 1);
    endRemoveRows();
    return true;
}

void BrowserModel::appendThumbnail(const QImage &thumbnail, const QString &strLabel)
{
    insertThumbnail(int(thumbnails.size()), thumbnail, strLabel);
}

void BrowserModel::insertThumbnail(int row, const QImage &thumbnail, const QString &strLabel)
{
    row = qBound(0, row, int(thumbnails.size()));
    beginInsertRows(QModelIndex(), row, row);
    thumbnails.insert(row, thumbnail);
    labels.insert(row, strLabel);
    endInsertRows();
}

void BrowserModel::setThumbnail(int row, const QImage &thumbnail, const QString &strLabel)
{
    if (row < 0 || row >= thumbnails.size())
        return;
    thumbnails[row] = thumbnail;
    labels[row] = strLabel;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed);
}

void BrowserModel::setLabel(int row, const QString &strLabel)
{
    if (row < 0 || row >= labels.size())
        return;
    labels[row] = strLabel;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, { Qt::DisplayRole });
}

void BrowserModel::removeAll()
{
    if (!thumbnails.isEmpty())
        removeRows(0, int(thumbnails.size()));
}
