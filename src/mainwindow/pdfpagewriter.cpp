#include "pdfpagewriter.h"

#include "document/mainpage.h"
#include "document/pdfinkpainter.h"
#include "document/pdfsource.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

namespace {

QPageLayout pageLayout(const PageRecord &page, bool bInk, const QPageLayout &sheet)
{
    if (!bInk || !PdfPageWriter::isPdfPage(page))
        return sheet;
    return QPageLayout(QPageSize(page.pdf->pageSize(page.pdfPage), QPageSize::Point, QString(),
                                 QPageSize::ExactMatch),
                       QPageLayout::Portrait, QMarginsF());
}

void paintPage(QPainter &painter, const QPdfWriter &writer, const PageRecord &page, bool bInk,
               int resolution)
{
    if (bInk && PdfPageWriter::isPdfPage(page)) {
        PdfInkPainter::paintInk(painter, page);
        return;
    }
    const QRect sheet = writer.pageLayout().paintRectPixels(resolution);
    PdfInkPainter::paintPage(painter, QRectF(QPointF(0, 0), QSizeF(sheet.size())), page);
}

} // namespace

// At the screen's resolution, so that text objects keep the size they were
// laid out in.
QByteArray PdfPageWriter::write(const QList<PageRecord> &pages, int resolution,
                                const QString &strTitle, bool bInk)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(resolution);
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setCreator(QStringLiteral("Tavelmark"));
    writer.setTitle(strTitle);
    const QPageLayout sheet = writer.pageLayout();
    if (!pages.isEmpty())
        writer.setPageLayout(pageLayout(pages.constFirst(), bInk, sheet));
    QPainter painter;
    if (!painter.begin(&writer))
        return QByteArray();
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0) {
            writer.setPageLayout(pageLayout(pages.at(i), bInk, sheet));
            writer.newPage();
        }
        paintPage(painter, writer, pages.at(i), bInk, resolution);
    }
    if (!painter.end())
        return QByteArray();
    return bytes;
}

bool PdfPageWriter::isPdfPage(const PageRecord &page)
{
    return page.background == MainPage::PdfBackground && page.pdf && page.pdfPage >= 0
        && page.pdfPage < page.pdf->pageCount();
}
