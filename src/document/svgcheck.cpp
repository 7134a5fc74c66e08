#include "svgcheck.h"

#include "decodedsize.h"

#include <QBuffer>
#include <QImageReader>
#include <QXmlStreamReader>

namespace {

// The renderer takes an <image> reference as embedded data only when it
// starts with "data" and holds "base64,"; anything else is read as a path.
bool isEmbedded(QStringView href)
{
    return href.startsWith(QLatin1String("data:")) && href.contains(QLatin1String("base64,"));
}

bool isStyleSheetInstruction(const QXmlStreamReader &reader)
{
    return reader.processingInstructionTarget().trimmed().compare(QLatin1String("xml-stylesheet"),
                                                                  Qt::CaseInsensitive)
        == 0;
}

} // namespace

SvgCheck SvgCheck::check(const QByteArray &document, qint64 budgetBytes)
{
    SvgCheck result;
    QXmlStreamReader reader(document);
    int depth = 0;
    while (!reader.atEnd() && result.verdict == Sound) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::StartElement)
            result.checkElement(reader, ++depth, budgetBytes);
        else if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (token == QXmlStreamReader::ProcessingInstruction
                 && isStyleSheetInstruction(reader))
            result.verdict = OutsideReference;
    }
    // An empty document ends in an error too.
    if (result.verdict == Sound && reader.hasError())
        result.verdict = NotSvg;
    return result;
}

void SvgCheck::checkElement(const QXmlStreamReader &reader, int depth, qint64 budgetBytes)
{
    if (depth == 1 && reader.name() != QLatin1String("svg"))
        verdict = NotSvg;
    else if (depth > MaxDepth)
        verdict = TooDeep;
    if (verdict != Sound || reader.name() != QLatin1String("image"))
        return;
    // Any attribute named "href", whatever its namespace prefix.
    for (const QXmlStreamAttribute &attribute : reader.attributes()) {
        if (attribute.name() == QLatin1String("href")
            && !checkImage(attribute.value(), budgetBytes))
            return;
    }
}

// Reads only the embedded picture's header: its format must be a raster one
// that can be sized (an embedded SVG would be rendered unchecked) and its
// pixels must fit. The format is decided by content, as the renderer does.
bool SvgCheck::checkImage(QStringView href, qint64 budgetBytes)
{
    if (!isEmbedded(href)) {
        verdict = OutsideReference;
        return false;
    }
    const qsizetype start = href.lastIndexOf(QLatin1String("base64,")) + 7;
    QByteArray data = QByteArray::fromBase64(href.mid(start).toLatin1());
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    const QByteArray format = QImageReader(&buffer).format();
    if (format.isEmpty() || format.startsWith("svg")) {
        verdict = EmbeddedNotPicture;
        return false;
    }
    if (!DecodedSize::isSizable(format)) {
        verdict = EmbeddedFormat;
        return false;
    }
    // A header that cannot be read is no picture the decoder would make.
    const QSize size = DecodedSize::of(&buffer, format);
    if (!size.isValid()) {
        verdict = EmbeddedNotPicture;
        return false;
    }
    embeddedBytes += qint64(size.width()) * size.height() * 4;
    if (embeddedBytes > budgetBytes) {
        verdict = TooManyPixels;
        return false;
    }
    return true;
}
