#include "inicodec.h"

#include <QFile>
#include <QStringDecoder>
#include <QStringList>

namespace {

int hexValue(QChar c)
{
    const ushort u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

// "%XX" and "%UXXXX" codes of section and key names; false on a broken code.
bool unescapeKey(QStringView text, QString *out)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\')) {
            out->append(QLatin1Char('/'));
            continue;
        }
        if (text[i] != QLatin1Char('%')) {
            out->append(text[i]);
            continue;
        }
        const bool wide = i + 1 < text.size() && text[i + 1] == QLatin1Char('U');
        const qsizetype digits = wide ? 4 : 2;
        const qsizetype from = i + 1 + (wide ? 1 : 0);
        if (from + digits > text.size())
            return false;
        int code = 0;
        for (qsizetype k = from; k < from + digits; ++k) {
            const int v = hexValue(text[k]);
            if (v < 0)
                return false;
            code = code * 16 + v;
        }
        if (QChar::isSurrogate(uint(code)))
            return false;
        out->append(QChar(code));
        i = from + digits - 1;
    }
    return true;
}

QByteArray escapeKey(const QString &key)
{
    QByteArray out;
    for (const QChar c : key) {
        const ushort u = c.unicode();
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_'
            || u == '-' || u == '.')
            out += char(u);
        else if (u == '/')
            out += '\\';
        else if (u <= 0xff)
            out += '%' + QByteArray::number(u, 16).rightJustified(2, '0').toUpper();
        else
            out += "%U" + QByteArray::number(u, 16).rightJustified(4, '0').toUpper();
    }
    return out;
}

// One escape after a backslash at text[*i]; false when it is cut off.
bool unescapeChar(QStringView text, qsizetype *i, QString *out)
{
    if (++*i >= text.size())
        return false;
    const QChar c = text[*i];
    static const QString plain = QStringLiteral("abfnrtv");
    static const QString controls = QStringLiteral("\a\b\f\n\r\t\v");
    if (plain.contains(c)) {
        out->append(controls[plain.indexOf(c)]);
    } else if (c == QLatin1Char('x')) {
        uint code = 0;
        int digits = 0;
        while (*i + 1 < text.size() && hexValue(text[*i + 1]) >= 0 && digits < 8) {
            code = code * 16 + uint(hexValue(text[++*i]));
            ++digits;
        }
        if (digits == 0 || code > 0xffff || QChar::isSurrogate(code))
            return false;
        out->append(QChar(ushort(code)));
    } else if (c >= QLatin1Char('0') && c <= QLatin1Char('7')) {
        uint code = uint(c.unicode() - '0');
        while (*i + 1 < text.size() && text[*i + 1] >= QLatin1Char('0')
               && text[*i + 1] <= QLatin1Char('7') && code < 0x1000)
            code = code * 8 + uint(text[++*i].unicode() - '0');
        if (QChar::isSurrogate(code))
            return false;
        out->append(QChar(ushort(code)));
    } else {
        out->append(c); // \" \' \? \\ and anything else stand for themselves
    }
    return true;
}

// A value: quoted parts, escapes, unquoted commas between list items and a
// ";" comment. Unquoted parts lose their surrounding spaces.
bool unescapeValue(QStringView text, QVariant *value)
{
    QStringList items;
    QString item;
    bool quoted = false;
    bool list = false;
    qsizetype spaceFrom = -1; // unquoted trailing spaces of the item
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            spaceFrom = -1;
        } else if (c == QLatin1Char('\\')) {
            if (!unescapeChar(text, &i, &item))
                return false;
            spaceFrom = -1;
        } else if (!quoted && (c == QLatin1Char(',') || c == QLatin1Char(';'))) {
            if (spaceFrom >= 0)
                item.truncate(spaceFrom);
            items.append(item);
            item.clear();
            spaceFrom = -1;
            if (c == QLatin1Char(';'))
                break;
            list = true;
        } else if (!quoted && c.isSpace()) {
            if (item.isEmpty() && spaceFrom < 0)
                continue;
            if (spaceFrom < 0)
                spaceFrom = item.size();
            item.append(c);
        } else {
            item.append(c);
            spaceFrom = -1;
        }
    }
    if (quoted)
        return false;
    if (spaceFrom >= 0)
        item.truncate(spaceFrom);
    if (items.isEmpty() || list)
        items.append(item);
    // A written "@" is doubled; no other "@" form is ever decoded.
    for (QString &s : items) {
        if (s.startsWith(QLatin1String("@@")))
            s.remove(0, 1);
        if (s.isNull())
            s = QLatin1String(""); // present but empty, unlike a missing key
    }
    *value = list ? QVariant(items) : QVariant(items.first());
    return true;
}

QByteArray escapeValue(const QString &value)
{
    QString out = value.startsWith(QLatin1Char('@')) ? QStringLiteral("@") : QString();
    bool quotes = !value.isEmpty() && (value.front().isSpace() || value.back().isSpace());
    bool hexBefore = false;
    for (const QChar c : value) {
        const ushort u = c.unicode();
        quotes = quotes || u == ';' || u == ',' || u == '=';
        const bool hex = u < 0x20 || u == 0x7f || (hexBefore && hexValue(c) >= 0);
        if (hex) {
            out += QStringLiteral("\\x") + QString::number(u, 16);
            hexBefore = true;
            continue;
        }
        if (u == '"' || u == '\\')
            out += QLatin1Char('\\');
        out += c;
        hexBefore = false;
    }
    const QByteArray bytes = out.toUtf8();
    return quotes ? '"' + bytes + '"' : bytes;
}

QByteArray escapeVariant(const QVariant &value)
{
    if (value.metaType().id() != QMetaType::QStringList)
        return escapeValue(value.toString());
    QByteArrayList items;
    for (const QString &item : value.toStringList())
        items.append(escapeValue(item));
    return items.join(", ");
}

// Reads one "key=value" line into values under the current section.
bool readKeyLine(QStringView line, const QString &section, QSettings::SettingsMap *values)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals <= 0)
        return false;
    QString key;
    QVariant value;
    if (!unescapeKey(line.left(equals).trimmed(), &key)
        || !unescapeValue(line.mid(equals + 1), &value))
        return false;
    // Empty parts of a path do not count, as in QSettings.
    key = (section + key).split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
    if (key.isEmpty())
        return false;
    values->insert(key, value);
    return true;
}

bool readSectionLine(QStringView line, QString *section)
{
    if (!line.endsWith(QLatin1Char(']')))
        return false;
    const QStringView raw = line.mid(1, line.size() - 2).trimmed();
    QString name;
    if (raw.compare(QLatin1String("%General"), Qt::CaseInsensitive) == 0)
        name = QStringLiteral("General");
    else if (!unescapeKey(raw, &name))
        return false;
    else if (name.compare(QLatin1String("General"), Qt::CaseInsensitive) == 0)
        name.clear();
    *section = name.isEmpty() ? QString() : name + QLatin1Char('/');
    return true;
}

} // namespace

IniCodec::Result IniCodec::parse(const QByteArray &text)
{
    Result result;
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    result.damaged = utf8.hasError() || text.contains('\0');
    QList<QStringView> lines = QStringView(decoded).split(QLatin1Char('\n'));
    // Every line written ends with a newline: one without was cut short.
    if (!lines.last().trimmed().isEmpty())
        result.damaged = true;
    lines.removeLast();
    QString section;
    for (QStringView line : lines) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';'))
            || line.startsWith(QLatin1Char('#')))
            continue;
        const bool read = line.startsWith(QLatin1Char('['))
            ? readSectionLine(line, &section)
            : readKeyLine(line, section, &result.values);
        result.damaged = result.damaged || !read;
    }
    return result;
}

QByteArray IniCodec::serialize(const QSettings::SettingsMap &values)
{
    QByteArray out;
    QString current = QStringLiteral("\n"); // no section is named so
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const qsizetype slash = it.key().indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : it.key().left(slash);
        if (section != current) {
            if (!out.isEmpty())
                out += '\n';
            out += '['
                + (section.isEmpty()                         ? QByteArray("General")
                       : section == QLatin1String("General") ? QByteArray("%General")
                                                             : escapeKey(section))
                + "]\n";
            current = section;
        }
        out += escapeKey(it.key().mid(slash + 1)) + '=' + escapeVariant(it.value()) + '\n';
    }
    return out;
}

IniCodec::Result IniCodec::readFile(const QString &strPath)
{
    QFile file(strPath);
    if (!file.exists())
        return {};
    Result result;
    if (file.size() > MaxFileBytes) {
        result.tooLarge = true;
        return result;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        result.damaged = true;
        return result;
    }
    return parse(file.read(MaxFileBytes));
}

bool IniCodec::readDevice(QIODevice &device, QSettings::SettingsMap &map)
{
    // An oversized file is left unread and replaced by the next write.
    if (device.size() <= MaxFileBytes)
        map = parse(device.read(MaxFileBytes)).values;
    return true;
}

bool IniCodec::writeDevice(QIODevice &device, const QSettings::SettingsMap &map)
{
    const QByteArray bytes = serialize(map);
    return device.write(bytes) == bytes.size();
}

QSettings::Format IniCodec::format()
{
    static const QSettings::Format registered
        = QSettings::registerFormat(QStringLiteral("ini"), readDevice, writeDevice);
    return registered;
}
