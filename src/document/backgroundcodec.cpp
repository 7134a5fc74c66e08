#include "backgroundcodec.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QPainter>

namespace {

// Every BandStep-th band of BandRows rows: an eighth of the picture.
constexpr int BandRows = 16;
constexpr int BandStep = 8;
// Qt's PDF engine stores pictures as JPEG at this quality, and without loss
// with zlib's default level.
constexpr int JpegQuality = 94;
constexpr int FlateLevel = 6;
// Exact pixels are worth this much more room than JPEG's.
constexpr double LosslessPremium = 1.5;

QImage sampled(const QImage &picture)
{
    const int bands = (picture.height() + BandRows * BandStep - 1) / (BandRows * BandStep);
    QImage sample(picture.width(), bands * BandRows, QImage::Format_RGB888);
    sample.fill(Qt::white);
    QPainter painter(&sample);
    for (int band = 0; band < bands; ++band) {
        const int top = band * BandRows * BandStep;
        painter.drawImage(QPoint(0, band * BandRows), picture,
                          QRect(0, top, picture.width(), BandRows));
    }
    return sample;
}

qint64 jpegSize(const QImage &sample)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(JpegQuality);
    return writer.write(sample) ? bytes.size() : 0;
}

} // namespace

bool BackgroundCodec::keepsLossless(const QImage &picture)
{
    if (picture.isNull() || picture.hasAlphaChannel())
        return true;
    const QImage sample = sampled(picture);
    const QByteArray raw(reinterpret_cast<const char *>(sample.constBits()),
                         qsizetype(sample.sizeInBytes()));
    const qint64 jpeg = jpegSize(sample);
    return jpeg <= 0 || qCompress(raw, FlateLevel).size() <= jpeg * LosslessPremium;
}
