#include "pdfassembler.h"

bool PdfAssembler::assemble(const QList<PdfInput> &, const QByteArray &,
                            const QList<PdfPlacement> &, QByteArray *, QString *error)
{
    *error = QStringLiteral("not built yet");
    return false;
}
