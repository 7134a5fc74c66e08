#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>

// PDFs as teachers bring them, made for tests: each slide has its number as
// text, a vector drawing and a picture, and a colour of its own, so that a
// render tells one page from another.
namespace LessonPdf {

inline QColor slideColour(int index)
{
    return QColor::fromHsv((index * 47) % 360, 160, 230);
}

inline QByteArray make(int pages, const QSizeF &points = QSizeF(720, 405))
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(72);
    writer.setPageSize(QPageSize(points, QPageSize::Point));
    writer.setPageMargins(QMarginsF());
    QImage picture(32, 32, QImage::Format_RGB32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            picture.setPixel(x, y, qRgb(x * 8, y * 8, 128));
    QPainter painter(&writer);
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            writer.newPage();
        painter.fillRect(QRectF(0, 0, points.width() / 2, points.height() / 2), slideColour(i));
        painter.setPen(QPen(Qt::darkBlue, 3));
        painter.drawEllipse(QRectF(points.width() / 2, 20, 120, 80));
        painter.drawImage(QRectF(20, points.height() - 100, 80, 80), picture);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(40, 40), QStringLiteral("Slide %1").arg(i + 1));
    }
    painter.end();
    return bytes;
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

// `plain` encrypted with `password` by the qpdf command; empty when it fails.
inline QByteArray encrypt(const QByteArray &plain, const QString &password)
{
    QTemporaryDir dir;
    QFile in(dir.filePath(QStringLiteral("in.pdf")));
    if (!in.open(QIODevice::WriteOnly) || in.write(plain) != plain.size())
        return QByteArray();
    in.close();
    const QString out = dir.filePath(QStringLiteral("out.pdf"));
    QProcess qpdf;
    qpdf.start(QStringLiteral("qpdf"),
               { QStringLiteral("--encrypt"), password, QStringLiteral("owner-") + password,
                 QStringLiteral("256"), QStringLiteral("--"), in.fileName(), out });
    if (!qpdf.waitForFinished(60000) || qpdf.exitCode() != 0)
        return QByteArray();
    QFile result(out);
    return result.open(QIODevice::ReadOnly) ? result.readAll() : QByteArray();
}

} // namespace LessonPdf
