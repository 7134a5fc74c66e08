#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

// PDFs of slides made on the spot: each page has its own background colour
// (`colour(i)`) over the whole page, a title with its number as real text, a
// vector drawing and a small picture.
class SlideDeck
{
public:
    static QColor colour(int index) { return QColor::fromHsv((index * 47) % 360, 160, 230); }

    // Landscape slides of 1024 × 576 points (16:9).
    static QByteArray make(int pages)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageSize(QPageSize(QSizeF(1024, 576), QPageSize::Point));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        QImage picture(64, 64, QImage::Format_RGB32);
        picture.fill(Qt::darkYellow);
        QPainter painter(&writer);
        for (int i = 0; i < pages; ++i) {
            if (i > 0)
                writer.newPage();
            painter.fillRect(QRectF(0, 0, 1024, 576), colour(i));
            painter.setPen(Qt::black);
            painter.setFont(QFont(QStringLiteral("Arial"), 40));
            painter.drawText(QPointF(80, 120), QStringLiteral("Slide %1").arg(i + 1));
            painter.setPen(QPen(Qt::darkBlue, 6));
            painter.drawEllipse(QRectF(600, 200, 300, 200));
            painter.drawImage(QRectF(80, 400, 96, 96), picture);
        }
        painter.end();
        return bytes;
    }

    // The PDF locked with `password` by qpdf; empty when qpdf failed.
    static QByteArray locked(const QByteArray &pdf, const QString &password)
    {
        QTemporaryDir dir;
        const QString in = dir.filePath(QStringLiteral("in.pdf"));
        const QString out = dir.filePath(QStringLiteral("out.pdf"));
        QFile file(in);
        if (!file.open(QIODevice::WriteOnly) || file.write(pdf) != pdf.size())
            return {};
        file.close();
        QProcess qpdf;
        qpdf.start(QStringLiteral("qpdf"),
                   { QStringLiteral("--encrypt"), password, password, QStringLiteral("256"),
                     QStringLiteral("--"), in, out });
        if (!qpdf.waitForFinished(30000) || qpdf.exitCode() != 0)
            return {};
        QFile result(out);
        return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
    }
};
