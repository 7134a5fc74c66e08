#include "hotkeyrecord.h"

#include <QStringList>

HotKeyRecord HotKeyRecord::fromString(const QString &strValue)
{
    const QStringList fields = strValue.split(QLatin1Char(','));
    if (fields.size() != 6)
        return {};
    HotKeyRecord record;
    record.enabled = fields.at(0).trimmed().toInt() != 0;
    record.ctrl = fields.at(1).trimmed().toInt() != 0;
    record.shift = fields.at(2).trimmed().toInt() != 0;
    record.alt = fields.at(3).trimmed().toInt() != 0;
    record.win = fields.at(4).trimmed().toInt() != 0;
    bool ok = false;
    const int vk = fields.at(5).trimmed().toInt(&ok);
    // Virtual-key codes are one byte; anything else cannot be registered.
    record.virtualKey = (ok && vk >= 0 && vk <= 0xFF) ? vk : 0;
    if (record.virtualKey == 0)
        record.enabled = false;
    return record;
}

QString HotKeyRecord::toString() const
{
    return QStringLiteral("%1,%2,%3,%4,%5,%6")
        .arg(int(enabled))
        .arg(int(ctrl))
        .arg(int(shift))
        .arg(int(alt))
        .arg(int(win))
        .arg(virtualKey);
}

bool HotKeyRecord::operator==(const HotKeyRecord &other) const
{
    return enabled == other.enabled && ctrl == other.ctrl && shift == other.shift
        && alt == other.alt && win == other.win && virtualKey == other.virtualKey;
}
