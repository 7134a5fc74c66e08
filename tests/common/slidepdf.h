#pragma once

#include "commandoutput.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

// Slides as a teacher brings them, made here: 720 x 405 points, each with
// its title as text, a blue disc as vector art and a small picture; every
// page shares the font and the picture.
namespace SlidePdf {

constexpr qreal Width = 720;
constexpr qreal Height = 405;
const QColor Disc(30, 60, 200);

inline QImage picture()
{
    QImage image(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, ((x / 8 + y / 8) % 2) ? qRgb(220, 40, 40) : qRgb(40, 180, 60));
    }
    return image;
}

inline QByteArray make(int pages, const QString &strTitle)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(Width, Height), QPageSize::Point, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF()));
    const QImage checker = picture();
    QPainter painter(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 28));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(40, 80), QStringLiteral("%1 %2").arg(strTitle).arg(i + 1));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Disc);
        painter.drawEllipse(QRectF(460, 150, 200, 200));
        painter.drawImage(QRectF(40, 250, 128, 128), checker);
    }
    painter.end();
    return bytes;
}

// `bytes` passed through the qpdf program with `arguments` before the
// input's name: how rotated and encrypted sources are made.
inline QByteArray transformed(const QByteArray &bytes, const QStringList &arguments)
{
    QTemporaryDir folder;
    const QString in = folder.filePath(QStringLiteral("in.pdf"));
    const QString out = folder.filePath(QStringLiteral("out.pdf"));
    QFile file(in);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QByteArray();
    file.close();
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"), QStringList(arguments) << in << out);
    if (!qpdf.waitForFinished(30000) || qpdf.exitCode() != 0)
        return QByteArray();
    QFile result(out);
    return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
}

} // namespace SlidePdf
