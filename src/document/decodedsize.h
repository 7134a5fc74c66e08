#pragma once

#include <QByteArray>
#include <QSize>

class QIODevice;

// The size a picture's decoder really makes, read from the bytes without
// decoding them. A reader's reported size is not always it: a GIF is decoded
// onto its logical screen while the reader reports its first frame, an icon
// file reports a directory entry while it decodes the PNG inside, and an
// Apple icon reports nothing. Only formats whose headers state what is
// decoded are sized; the others give an invalid size.
class DecodedSize
{
public:
    // `format` is the one the image reader chose for the device's content;
    // the device is only peeked at.
    static QSize of(QIODevice *device, const QByteArray &format);
    static bool isSizable(const QByteArray &format);

private:
    static QSize ofGif(const QByteArray &head);
};
