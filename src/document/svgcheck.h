#pragma once

#include <QByteArray>

class QXmlStreamReader;

// Looks through an SVG document before the renderer sees it. The renderer
// follows an <image> reference to any local file (the document itself
// included, without end), reads style sheets that a processing instruction
// names, and decodes every embedded picture whatever its size. Only pictures
// embedded as base64 "data:" addresses are let through, and only in formats
// whose size can be known before they are decoded.
class SvgCheck
{
public:
    enum Verdict {
        Sound,
        NotSvg,
        TooDeep,
        OutsideReference,
        EmbeddedNotPicture,
        EmbeddedFormat,
        TooManyPixels
    };

    // Deeper element nesting is refused: the renderer recurses on it.
    static constexpr int MaxDepth = 256;

    // `embeddedBytes` is what the embedded pictures take decoded, at 4 bytes a
    // pixel, counted at the size their decoder makes; past `budgetBytes` the
    // document is refused.
    static SvgCheck check(const QByteArray &document, qint64 budgetBytes);

    Verdict verdict = Sound;
    qint64 embeddedBytes = 0;

private:
    void checkElement(const QXmlStreamReader &reader, int depth, qint64 budgetBytes);
    bool checkImage(QStringView href, qint64 budgetBytes);
};
