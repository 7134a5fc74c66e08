#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "svgcheck.h"

// Reads picture files that may be hostile: a header may claim a size whose
// decoding would take gigabytes, a file may be far longer than its picture,
// and an SVG (whatever its name) may name other files. One budget holds for
// a picture: its decoded pixels and those of everything embedded in it, and
// the bytes read from its file. Every failure gives a null image.
class SafeImageReader
{
public:
    // Largest decoded picture accepted, counted at 4 bytes per pixel, with
    // the pictures embedded in it.
    static constexpr qint64 MaxImageBytes = 256LL * 1024 * 1024;
    // Largest raster file read: the largest picture stored uncompressed.
    static constexpr qint64 MaxFileBytes = MaxImageBytes + qint64(1024) * 1024;
    // An SVG's document tree costs several times its text.
    static constexpr qint64 MaxSvgFileBytes = 32LL * 1024 * 1024;

    // What a file holds by its content, not its name. Reading a header never
    // hands an SVG to a renderer.
    struct Header
    {
        bool svg = false;
        QByteArray format; // as decided by content
        qint64 fileBytes = 0;
        QSize size; // invalid when unknown; what the decoder makes where it can be known
        SvgCheck check; // for SVG content
    };
    static Header inspect(const QString &path);

    static QImage read(const QString &path);
    // The document of a checked SVG file within the budget, or empty bytes.
    static QByteArray readSvg(const QString &path);
};
