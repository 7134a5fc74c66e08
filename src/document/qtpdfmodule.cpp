#include "qtpdfmodule.h"

#include "pdfassembler.h"
#include "qtpdffile.h"

std::unique_ptr<PdfFile> QtPdfModule::open(const QByteArray &bytes, const QString &password,
                                           PdfRefusal *why)
{
    return QtPdfFile::open(bytes, password, why);
}

bool QtPdfModule::assemble(const QList<PdfInput> &sources, const QList<QByteArray> &inks,
                           const QList<PdfPlacement> &plan, QByteArray *out, QString *error)
{
    return PdfAssembler::assemble(sources, inks, plan, out, error);
}
