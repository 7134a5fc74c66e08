#include "picturecopy.h"

#include "app/filewriter.h"

#include <QFile>
#include <QFileInfo>

namespace {

constexpr qint64 CompareBlock = 1 << 16;

QString candidateName(const QFileInfo &source, int n)
{
    QString name = QStringLiteral("%1(%2)").arg(source.baseName()).arg(n);
    if (!source.completeSuffix().isEmpty())
        name += QLatin1Char('.') + source.completeSuffix();
    return name;
}

} // namespace

bool PictureCopy::sameContent(const QString &strFirst, const QString &strSecond)
{
    QFile first(strFirst);
    QFile second(strSecond);
    if (first.size() != second.size() || !first.open(QIODevice::ReadOnly)
        || !second.open(QIODevice::ReadOnly))
        return false;
    while (!first.atEnd()) {
        const QByteArray block = first.read(CompareBlock);
        if (block.isEmpty() || block != second.read(CompareBlock))
            return false;
    }
    return true;
}

QString PictureCopy::into(const QString &strSource, const QString &strFolder)
{
    const QFileInfo source(strSource);
    if (!source.isFile())
        return QString();
    QString target = strFolder + source.fileName();
    for (int n = 1; QFileInfo::exists(target); ++n) {
        if (sameContent(strSource, target))
            return target;
        target = strFolder + candidateName(source, n);
    }
    if (!FileWriter::copy(strSource, target, QFile::ReadOwner | QFile::WriteOwner))
        return QString();
    return target;
}
