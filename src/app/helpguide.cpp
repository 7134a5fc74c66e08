#include "helpguide.h"

#include <QDir>
#include <QFileInfo>

QString HelpGuide::find(const QString &strFolder, const QString &strLanguage)
{
    const QDir folder(strFolder);
    QStringList names;
    // A language code names a file, so it may not name a path.
    if (!strLanguage.isEmpty() && !strLanguage.contains(QLatin1Char('/'))
        && !strLanguage.contains(QLatin1String("..")))
        names.append(QStringLiteral("help_%1.pdf").arg(strLanguage));
    names.append(QStringLiteral("help.pdf"));
    for (const QString &name : names) {
        const QFileInfo info(folder.filePath(name));
        if (info.isFile() && info.isReadable())
            return info.absoluteFilePath();
    }
    return QString();
}

QString HelpGuide::expectedPath(const QString &strFolder)
{
    return QDir(strFolder).filePath(QStringLiteral("help.pdf"));
}
