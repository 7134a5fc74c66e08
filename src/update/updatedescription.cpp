#include "updatedescription.h"

#include "packagecheck.h"

#include <QRegularExpression>
#include <QStringList>
#include <QXmlStreamReader>

UpdateDescription UpdateDescription::parse(const QByteArray &xml)
{
    UpdateDescription result;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = reader.name();
        if (name == QLatin1String("mainDoc"))
            result.readMainDoc(reader.attributes());
        else if (name == QLatin1String("title"))
            result.notes += reader.readElementText() + QStringLiteral("\n\n");
        else if (name == QLatin1String("item"))
            result.notes += reader.readElementText() + QStringLiteral("\n");
        else if (name == QLatin1String("date"))
            result.notes += QStringLiteral("\n") + reader.readElementText() + QStringLiteral("\n");
        else if (name == QLatin1String("sha256"))
            result.sha256 = reader.readElementText().trimmed().toLatin1();
    }
    if (reader.hasError()) {
        result.problem = Damaged;
        result.parseError = QStringLiteral("%1 (%2:%3)")
                                .arg(reader.errorString())
                                .arg(reader.lineNumber())
                                .arg(reader.columnNumber());
        return result;
    }
    result.check();
    return result;
}

void UpdateDescription::readMainDoc(const QXmlStreamAttributes &attributes)
{
    version = attributes.value(QLatin1String("version")).toString().trimmed();
    fileName = attributes.value(QLatin1String("filename")).toString().trimmed();
}

void UpdateDescription::check()
{
    if (version.isEmpty())
        problem = NoVersion;
    else if (!isWellFormedVersion(version))
        problem = BadVersion;
    else if (!fileName.isEmpty() && !isSafeFileName(fileName))
        problem = BadFileName;
    else if (!sha256.isEmpty() && !PackageCheck::isWellFormed(sha256))
        problem = BadChecksum;
}

int UpdateDescription::versionCode(const QString &strVersion)
{
    const QStringList fields = strVersion.split(QLatin1Char('.'));
    if (fields.size() < 3)
        return 0;
    int code = 0;
    for (int i = 0; i < 3; ++i)
        code = code * 100 + int(fields.at(i).toUInt() % 100);
    return code;
}

bool UpdateDescription::isWellFormedVersion(const QString &strVersion)
{
    static const QRegularExpression pattern(QStringLiteral("^\\d{1,9}(\\.\\d{1,9})*$"));
    return strVersion.size() <= 64 && pattern.match(strVersion).hasMatch();
}

bool UpdateDescription::isSafeFileName(const QString &strName)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9][A-Za-z0-9._+-]{0,127}$"));
    return pattern.match(strName).hasMatch() && !strName.contains(QLatin1String(".."));
}
