#include "folderreader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 Block = 1 << 20;

} // namespace

FolderReader::FolderReader(const QString &strFolder)
    : folder(strFolder)
{
}

QStringList FolderReader::names()
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

qint64 FolderReader::declaredSize(const QString &name)
{
    const QFileInfo info(path(name));
    return info.isFile() ? info.size() : -1;
}

bool FolderReader::read(const QString &name, const Sink &sink)
{
    QFile file(path(name));
    if (!QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QByteArray block = file.read(Block);
        if (block.isEmpty() || !sink(block))
            return false;
    }
    return file.error() == QFileDevice::NoError;
}

bool FolderReader::readEvery(const EntrySink &sink)
{
    for (const QString &name : names()) {
        if (!read(name, [&](const QByteArray &block) { return sink(name, block); }))
            return false;
    }
    return true;
}

// Files carry no checksums: each one reads to its end.
bool FolderReader::checkEvery()
{
    return readEvery([](const QString &, const QByteArray &) { return true; });
}

// Names that climb out or into a subfolder are no entries.
QString FolderReader::path(const QString &name) const
{
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name == QLatin1String("..") || name == QLatin1String("."))
        return QString();
    return QDir(folder).filePath(name);
}
