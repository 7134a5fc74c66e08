#pragma once

#include "document/documentsnapshot.h"

#include <QByteArray>
#include <QList>
#include <QString>

// Writes a run of pages into a PDF of their own, on any thread, so that the
// runs of one export are written in parallel. Each page is an A4 landscape
// sheet with the page drawn on it as vectors (PdfInkPainter); with `bInk`, a
// PDF page is instead the ink alone, the size of that PDF page, for the
// assembler to lay over it.
class PdfPageWriter
{
public:
    // Empty when the PDF could not be written.
    static QByteArray write(const QList<PageRecord> &pages, int resolution, const QString &strTitle,
                            bool bInk);
    static bool isPdfPage(const PageRecord &page);
};
