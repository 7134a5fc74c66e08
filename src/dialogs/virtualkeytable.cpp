#include "virtualkeytable.h"

#include <QFile>

namespace {

// A real table is a few kilobytes; anything far larger is not one.
constexpr qint64 MaxTableSize = qint64(256) * 1024;

// Codes are one byte; 0 and 0xFF are not keys.
bool isKeyCode(int iCode)
{
    return iCode > 0 && iCode < 0xFF;
}

int parseCode(QString strField)
{
    strField = strField.trimmed();
    if (strField.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        strField.remove(0, 2);
    bool ok = false;
    const int code = strField.toInt(&ok, 16);
    return ok && isKeyCode(code) ? code : 0;
}

} // namespace

QString VirtualKeyTable::defaultPath()
{
    return QStringLiteral(":/Hotkey/virtualkey.txt");
}

VirtualKeyTable::VirtualKeyTable(const QString &strPath)
{
    read(strPath);
}

QString VirtualKeyTable::text(int iCode) const
{
    const int index = keyCodes.indexOf(iCode);
    return index >= 0 ? keyTexts.at(index) : QString();
}

void VirtualKeyTable::read(const QString &strPath)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxTableSize) {
        why = QStringLiteral("The key table %1 cannot be read.").arg(strPath);
        return;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    QStringList skipped;
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')))
            continue;
        if (!parseLine(line))
            skipped.append(QString::number(i + 1));
    }
    if (keyCodes.isEmpty())
        why = QStringLiteral("The key table %1 lists no keys.").arg(strPath);
    else if (!skipped.isEmpty())
        why = QStringLiteral("Lines %1 of the key table %2 were skipped.")
                  .arg(skipped.join(QLatin1String(", ")), strPath);
}

// The comma key's line, "VK_OEM_COMMA,0xBC,,", splits into four fields.
bool VirtualKeyTable::parseLine(const QString &strLine)
{
    const QStringList fields = strLine.split(QLatin1Char(','));
    const bool commaKey = fields.size() == 4 && fields.at(2).isEmpty() && fields.at(3).isEmpty();
    if (fields.size() != 3 && !commaKey)
        return false;
    const int code = parseCode(fields.at(1));
    const QString text = commaKey ? QStringLiteral(",") : fields.at(2).trimmed();
    if (code == 0 || text.isEmpty() || keyCodes.contains(code))
        return false;
    keyCodes.append(code);
    keyTexts.append(text);
    return true;
}
