#pragma once

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

// Slides as a teacher brings them, made here: each page has its title as
// text, a blue disc as vector art and a small picture (font and picture
// shared by every page), placed in proportion to the page; coloured slides
// are filled with a colour of their own, so that a render tells them apart.
namespace SlidePdf {

constexpr qreal Width = 720;
constexpr qreal Height = 405;
const QColor Disc(30, 60, 200);

inline QColor colour(int index)
{
    return QColor::fromHsv((index * 47) % 360, 160, 230);
}

inline QImage picture()
{
    QImage image(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x)
            image.setPixel(x, y, ((x / 8 + y / 8) % 2) ? qRgb(220, 40, 40) : qRgb(40, 180, 60));
    }
    return image;
}

inline QByteArray make(int pages, const QString &strTitle = QStringLiteral("Slide"),
                       const QSizeF &points = QSizeF(Width, Height), bool bColoured = false)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
    const QImage checker = picture();
    const qreal x = points.width() / Width, y = points.height() / Height;
    QPainter painter(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        if (bColoured)
            painter.fillRect(QRectF(QPointF(), points), colour(i));
        painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 28));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(40 * x, 80 * y), QStringLiteral("%1 %2").arg(strTitle).arg(i + 1));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Disc);
        painter.drawEllipse(QRectF(460 * x, 150 * y, 200 * x, 200 * y));
        painter.drawImage(QRectF(40 * x, 250 * y, 128 * x, 128 * y), checker);
    }
    painter.end();
    return bytes;
}

// Coloured slides of `points`.
inline QByteArray coloured(int pages, const QSizeF &points = QSizeF(Width, Height))
{
    return make(pages, QStringLiteral("Slide"), points, true);
}

// `bytes` passed through the qpdf program with `arguments` before the
// input's name: how rotated and encrypted sources are made. Empty when qpdf
// failed.
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
    if (!qpdf.waitForFinished(60000) || qpdf.exitCode() != 0)
        return QByteArray();
    QFile result(out);
    return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
}

// `bytes` locked with `password` (AES-256).
inline QByteArray locked(const QByteArray &bytes, const QString &password)
{
    return transformed(bytes,
                       { QStringLiteral("--encrypt"), password, QStringLiteral("owner-") + password,
                         QStringLiteral("256"), QStringLiteral("--") });
}

// A PDF of the given objects (object i + 1 is `objects[i]`, the catalogue
// first) with a cross-reference table that points at them exactly: the way
// to write a PDF no writer would.
inline QByteArray raw(const QList<QByteArray> &objects)
{
    QByteArray pdf = "%PDF-1.7\n";
    QList<qsizetype> offsets;
    for (qsizetype i = 0; i < objects.size(); ++i) {
        offsets.append(pdf.size());
        pdf += QByteArray::number(i + 1) + " 0 obj\n" + objects.at(i) + "\nendobj\n";
    }
    const qsizetype xref = pdf.size();
    pdf += "xref\n0 " + QByteArray::number(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype offset : offsets)
        pdf += QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
    pdf += "trailer\n<< /Size " + QByteArray::number(objects.size() + 1)
        + " /Root 1 0 R >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
    return pdf;
}

// A page tree whose kids are itself: Qt's PDF library loops on it for ever.
inline QByteArray selfHoldingTree()
{
    return raw(
        { "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [2 0 R] /Count 1 >>" });
}

} // namespace SlidePdf
