#include "partfiles.h"

#include "platform/partfilelock.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace {

// A writer may meet a part file removed between its making and its lock.
constexpr int CreateTries = 3;

QString nameTemplate(const QString &strTarget, PartFiles::Kind kind)
{
    const QFileInfo target(strTarget);
    return target.absolutePath() + QStringLiteral("/.") + target.fileName()
        + (kind == PartFiles::Document ? QStringLiteral(".part-XXXXXX")
                                       : QStringLiteral(".tavelmark-part-XXXXXX"));
}

} // namespace

std::unique_ptr<QTemporaryFile> PartFiles::create(const QString &strTarget, Kind kind)
{
    for (int i = 0; i < CreateTries; ++i) {
        auto part = std::make_unique<QTemporaryFile>(nameTemplate(strTarget, kind));
        if (!part->open())
            return nullptr;
        if (PartFileLock::hold(*part, part->fileName()))
            return part;
    }
    return nullptr;
}

bool PartFiles::isPartName(const QString &strName)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+\\.tavelmark(\\.part|-part)-[A-Za-z0-9]{6}$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(strName).hasMatch();
}

int PartFiles::removeStale(const QString &strFolder)
{
    int removed = 0;
    QDirIterator it(strFolder, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        const QString path = it.next();
        if (isPartName(it.fileName()) && PartFileLock::removeIfAbandoned(path)) {
            qDebug().noquote() << "Removed a part file left behind:" << path;
            ++removed;
        }
    }
    return removed;
}
