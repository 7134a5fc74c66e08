#include "decodedsize.h"

#include <QIODevice>
#include <QImageReader>
#include <QtEndian>

namespace {

quint16 little16(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

// The offset of the first image descriptor after `at`, or -1: extension
// blocks are skipped sub-block by sub-block.
qsizetype firstFrame(const QByteArray &bytes, qsizetype at)
{
    while (at < bytes.size()) {
        if (bytes.at(at) == ',')
            return at;
        if (bytes.at(at) != '!' || at + 2 >= bytes.size())
            return -1;
        at += 2;
        while (at < bytes.size() && bytes.at(at) != 0)
            at += 1 + quint8(bytes.at(at));
        ++at;
    }
    return -1;
}

} // namespace

bool DecodedSize::isSizable(const QByteArray &format)
{
    return format == "png" || format == "jpeg" || format == "bmp" || format == "gif";
}

QSize DecodedSize::of(QIODevice *device, const QByteArray &format)
{
    // Enough for a GIF's colour table and the extensions before its first frame.
    constexpr qint64 GifHeadBytes = 64LL * 1024;
    if (!isSizable(format))
        return QSize();
    if (format == "gif")
        return ofGif(device->peek(GifHeadBytes));
    const qint64 at = device->pos();
    QImageReader reader(device, format);
    const QSize size = reader.size();
    device->seek(at);
    return size;
}

// The decoder paints every frame onto the logical screen; a side the screen
// leaves at 0 takes the first frame's right or bottom edge instead.
QSize DecodedSize::ofGif(const QByteArray &head)
{
    constexpr qsizetype ScreenEnd = 13, DescriptorBytes = 10;
    if (head.size() < ScreenEnd)
        return QSize();
    int width = little16(head, 6), height = little16(head, 8);
    if (width > 0 && height > 0)
        return QSize(width, height);
    const quint8 flags = quint8(head.at(10));
    const qsizetype colours = flags & 0x80 ? 3 * (2 << (flags & 7)) : 0;
    const qsizetype frame = firstFrame(head, ScreenEnd + colours);
    if (frame < 0 || frame + DescriptorBytes > head.size())
        return QSize();
    if (width == 0)
        width = little16(head, frame + 1) + little16(head, frame + 5);
    if (height == 0)
        height = little16(head, frame + 3) + little16(head, frame + 7);
    return QSize(width, height);
}
