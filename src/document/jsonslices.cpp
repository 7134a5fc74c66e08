#include "jsonslices.h"

namespace {

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

qsizetype JsonSlices::skipSpace(const QByteArray &text, qsizetype i)
{
    while (i < text.size() && isSpace(text.at(i)))
        ++i;
    return i;
}

// The index of the quote that closes the string opening at `i`, or -1.
qsizetype JsonSlices::stringEnd(const QByteArray &text, qsizetype i)
{
    const char *c = text.constData();
    const qsizetype n = text.size();
    for (++i; i < n; ++i) {
        if (c[i] == '\\')
            ++i;
        else if (c[i] == '"')
            return i;
    }
    return -1;
}

// Just past the value starting at `i`, or -1. Megabytes of drawing pass
// through here, a character at a time.
qsizetype JsonSlices::valueEnd(const QByteArray &text, qsizetype i)
{
    const char *c = text.constData();
    const qsizetype n = text.size();
    qsizetype depth = 0;
    for (; i < n; ++i) {
        switch (c[i]) {
        case '"':
            i = stringEnd(text, i);
            if (i < 0)
                return -1;
            if (depth == 0)
                return i + 1;
            break;
        case '{':
        case '[':
            ++depth;
            break;
        case '}':
        case ']':
            if (depth == 0)
                return i;
            if (--depth == 0)
                return i + 1;
            break;
        default:
            if (depth == 0 && (c[i] == ',' || isSpace(c[i])))
                return i;
        }
    }
    return depth == 0 ? i : -1;
}

// The value of the top-level member `key`; its length stays 0 when it is
// missing.
bool JsonSlices::findMember(const QByteArray &text, const QByteArray &key, Range *value)
{
    qsizetype i = skipSpace(text, 0);
    if (i >= text.size() || text.at(i) != '{')
        return false;
    i = skipSpace(text, i + 1);
    if (i < text.size() && text.at(i) == '}')
        return true;
    while (i < text.size() && text.at(i) == '"') {
        const qsizetype nameEnd = stringEnd(text, i);
        if (nameEnd < 0)
            return false;
        const bool wanted = text.mid(i + 1, nameEnd - i - 1) == key;
        i = skipSpace(text, nameEnd + 1);
        if (i >= text.size() || text.at(i) != ':')
            return false;
        const qsizetype start = skipSpace(text, i + 1);
        const qsizetype end = valueEnd(text, start);
        if (end <= start || (wanted && value->length > 0))
            return false;
        if (wanted)
            *value = { start, end - start };
        i = skipSpace(text, end);
        if (i < text.size() && text.at(i) == '}')
            return true;
        if (i >= text.size() || text.at(i) != ',')
            return false;
        i = skipSpace(text, i + 1);
    }
    return false;
}

bool JsonSlices::splitArray(const QByteArray &text, const Range &array, QList<Range> *elements)
{
    const qsizetype last = array.start + array.length - 1;
    qsizetype i = skipSpace(text, array.start + 1);
    if (i == last)
        return true;
    while (i < last) {
        const qsizetype end = valueEnd(text, i);
        if (end <= i || end > last)
            return false;
        elements->append({ i, end - i });
        i = skipSpace(text, end);
        if (i == last)
            return true;
        if (text.at(i) != ',')
            return false;
        i = skipSpace(text, i + 1);
    }
    return false;
}

bool JsonSlices::split(const QByteArray &text, const QByteArray &key, QByteArray *rest,
                       QList<Range> *elements)
{
    Range array;
    elements->clear();
    if (!findMember(text, key, &array))
        return false;
    if (array.length < 2 || text.at(array.start) != '['
        || text.at(array.start + array.length - 1) != ']') {
        *rest = text;
        return true;
    }
    if (!splitArray(text, array, elements))
        return false;
    *rest = text.left(array.start) + "[]" + text.mid(array.start + array.length);
    return true;
}
