#pragma once

#include <QImage>
#include <QString>

// Reads picture files that may be hostile: a header may claim a size whose
// decoding would take gigabytes. Every failure gives a null image.
class SafeImageReader
{
public:
    // Largest decoded picture accepted, counted at 4 bytes per pixel.
    static constexpr qint64 MaxImageBytes = 256LL * 1024 * 1024;

    static QImage read(const QString &path);
};
