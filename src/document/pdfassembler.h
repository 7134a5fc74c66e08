#pragma once

#include "pdfmodule.h"

// Builds PDFs from the pages of others with qpdf: the pages are copied with
// their own content untouched, and ink laid over them as a form. A source
// that needs a password is opened with it; the new PDF is not encrypted.
class PdfAssembler
{
public:
    static bool assemble(const QList<PdfInput> &sources, const QList<QByteArray> &inks,
                         const QList<PdfPlacement> &plan, QByteArray *out, QString *error);
};
