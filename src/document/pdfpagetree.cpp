#include "pdfpagetree.h"

#include <qpdf/QPDF.hh>
#include <qpdf/QPDFExc.hh>

#include <exception>

PdfRefusal PdfPageTree::check(const QByteArray &bytes, const QString &password)
{
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("PDF", bytes.constData(), size_t(bytes.size()),
                              password.toUtf8().constData());
        // A long PDF that says so is refused before its pages are walked.
        QPDFObjectHandle count = pdf.getRoot().getKey("/Pages").getKey("/Count");
        if (count.isInteger() && count.getIntValue() > PdfBounds::MaxPages)
            return PdfRefusal::TooLarge;
        const size_t pages = pdf.getAllPages().size();
        if (pages < 1)
            return PdfRefusal::Damaged;
        return pages > size_t(PdfBounds::MaxPages) ? PdfRefusal::TooLarge : PdfRefusal::None;
    } catch (const QPDFExc &e) {
        if (e.getErrorCode() != qpdf_e_password)
            return PdfRefusal::Damaged;
        return password.isEmpty() ? PdfRefusal::NeedsPassword : PdfRefusal::WrongPassword;
    } catch (const std::exception &) {
        return PdfRefusal::Damaged;
    }
}
