#include "textcheck.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>

namespace {

// The elements the text tool's text is written with.
bool isKnownElement(QStringView name)
{
    static const QLatin1String known[] = {
        QLatin1String("!doctype"), QLatin1String("html"),  QLatin1String("head"),
        QLatin1String("meta"),     QLatin1String("style"), QLatin1String("body"),
        QLatin1String("p"),        QLatin1String("span"),  QLatin1String("br"),
    };
    for (const QLatin1String &k : known)
        if (name.compare(k, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

bool isNameEnd(QChar c)
{
    return c.isSpace() || c == QLatin1Char('>') || c == QLatin1Char('/');
}

bool isSimpleFormat(const QTextCharFormat &format)
{
    const QFont font = format.font();
    return !format.isImageFormat() && format.objectType() == QTextFormat::NoObject
        && font.pointSizeF() <= TextCheck::MaxPointSize
        && font.pixelSize() <= TextCheck::MaxPointSize * 4 / 3;
}

} // namespace

// Every '<' counts as a tag, quoted or not: the scan stays on the safe side
// of however the parser reads an attribute.
bool TextCheck::isSimpleMarkup(QStringView html)
{
    int tags = 0;
    qsizetype styleStart = -1;
    for (qsizetype i = html.indexOf(QLatin1Char('<')); i >= 0;
         i = html.indexOf(QLatin1Char('<'), i + 1)) {
        if (++tags > MaxTags)
            return false;
        qsizetype from = i + 1;
        const bool closing = from < html.size() && html.at(from) == QLatin1Char('/');
        if (closing)
            ++from;
        qsizetype to = from;
        while (to < html.size() && !isNameEnd(html.at(to)))
            ++to;
        const QStringView name = html.mid(from, to - from);
        if (!isKnownElement(name))
            return false;
        if (name.compare(QLatin1String("style"), Qt::CaseInsensitive) == 0) {
            if (!closing)
                styleStart = i;
            else if (styleStart >= 0 && i - styleStart > MaxStyleSheet)
                return false;
        }
    }
    return true;
}

bool TextCheck::isSimpleDocument(const QTextDocument &doc)
{
    if (!doc.rootFrame()->childFrames().isEmpty() || doc.characterCount() > MaxCharacters + 1
        || lineCount(doc) > MaxLines)
        return false;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        if (block.textList() || !isSimpleFormat(block.charFormat()))
            return false;
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (!isSimpleFormat(it.fragment().charFormat()))
                return false;
    }
    return true;
}

bool TextCheck::hasRoom(const QTextDocument &doc, qsizetype count, qsizetype lines)
{
    return doc.characterCount() - 1 + count <= MaxCharacters && lineCount(doc) + lines <= MaxLines;
}

qsizetype TextCheck::lineCount(const QTextDocument &doc)
{
    return doc.blockCount() + doc.toRawText().count(QChar::LineSeparator);
}
