#include "sessionreader.h"

#include "documentreader.h"
#include "folderreader.h"
#include "sessionwriter.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

// The whole file, or nothing when it passes what is left of `budget`.
QByteArray readWithin(const QString &file, qint64 *budget)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    const QByteArray bytes = f.read(*budget + 1);
    if (bytes.size() > *budget)
        return QByteArray();
    *budget -= bytes.size();
    return bytes;
}

// The writer names a page's file plainly, inside the folder.
bool isPlainName(const QString &name)
{
    return !name.isEmpty() && name.size() <= 255 && !name.startsWith(QLatin1Char('.'))
        && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}

} // namespace

QList<MainPage *> SessionReader::read(const QString &strFolder, DocumentReader *reader)
{
    return reader->read(std::make_unique<FolderReader>(strFolder),
                        QJsonDocument(manifest(strFolder)).toJson(QJsonDocument::Compact));
}

QJsonObject SessionReader::manifest(const QString &strFolder)
{
    const QDir folder(strFolder);
    // The pages together may take what one manifest may.
    qint64 budget = DocumentReader::MaxManifestBytes;
    const QJsonDocument index = QJsonDocument::fromJson(
        readWithin(folder.filePath(QLatin1String(SessionWriter::IndexName)), &budget));
    QJsonObject root = index.object();
    if (root.value(QLatin1String("format")).toString() != QLatin1String("tavelmark"))
        return QJsonObject();
    const QJsonArray names = root.value(QLatin1String("pages")).toArray();
    // The reader refuses so many pages before reading any.
    if (names.size() > DocumentReader::MaxPages)
        return root;
    QJsonArray pages;
    for (const QJsonValue &v : names) {
        const QString name = v.toString();
        const QJsonDocument page = isPlainName(name)
            ? QJsonDocument::fromJson(readWithin(folder.filePath(name), &budget))
            : QJsonDocument();
        pages.append(page.isObject() ? QJsonValue(page.object()) : QJsonValue());
    }
    root.insert(QLatin1String("pages"), pages);
    return root;
}
