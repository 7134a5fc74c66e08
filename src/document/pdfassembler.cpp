#include "pdfassembler.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <memory>
#include <vector>

namespace {

using Pdfs = std::vector<std::unique_ptr<QPDF>>;

// The bytes stay in the caller's hands for the whole assembly: qpdf reads
// them where they are, and copies streams out of them only when writing.
std::unique_ptr<QPDF> read(const QByteArray &bytes, const QString &password, const char *name)
{
    auto pdf = std::make_unique<QPDF>();
    pdf->setSuppressWarnings(true);
    const QByteArray secret = password.toUtf8();
    pdf->processMemoryFile(name, bytes.constData(), size_t(bytes.size()),
                           secret.isEmpty() ? nullptr : secret.constData());
    return pdf;
}

// A dictionary of the page's own, so that a name added to it is not added
// to every page that shares the original.
QPDFObjectHandle ownDictionary(QPDFObjectHandle holder, const char *key)
{
    QPDFObjectHandle current = holder.getKey(key);
    QPDFObjectHandle own
        = current.isDictionary() ? current.shallowCopy() : QPDFObjectHandle::newDictionary();
    holder.replaceKey(key, own);
    return own;
}

// The ink form over the copied page, in the page's crop box as the page is
// shown: its rotation undone for the form. The page's own content is put
// inside q ... Q so that a graphics state it leaves behind cannot move the
// ink.
void overlay(QPDF &out, QPDFPageObjectHelper page, QPDFPageObjectHelper ink)
{
    QPDFObjectHandle form = out.copyForeignObject(ink.getFormXObjectForPage());
    QPDFObjectHandle resources = ownDictionary(page.getObjectHandle(), "/Resources");
    QPDFObjectHandle forms = ownDictionary(resources, "/XObject");
    int suffix = 0;
    const std::string name = resources.getUniqueResourceName("/Ink", suffix);
    forms.replaceKey(name, form);
    const QPDFObjectHandle::Rectangle box = page.getCropBox().getArrayAsRectangle();
    const std::string place = page.placeFormXObject(form, name, box, true, true, true);
    page.addPageContents(QPDFObjectHandle::newStream(&out, "q\n"), true);
    page.addPageContents(QPDFObjectHandle::newStream(&out, "\nQ\n" + place), false);
}

bool build(const QList<PdfInput> &sources, const QByteArray &ink, const QList<PdfPlacement> &plan,
           QByteArray *out, QString *error)
{
    Pdfs inputs;
    for (const PdfInput &source : sources)
        inputs.push_back(read(source.bytes, source.password, "source"));
    const std::unique_ptr<QPDF> inkPdf = read(ink, QString(), "ink");
    const std::vector<QPDFPageObjectHelper> inkPages
        = QPDFPageDocumentHelper(*inkPdf).getAllPages();
    if (inkPages.size() != size_t(plan.size())) {
        *error
            = QStringLiteral("The ink has %1 pages for %2.").arg(inkPages.size()).arg(plan.size());
        return false;
    }
    QPDF result;
    result.emptyPDF();
    QPDFPageDocumentHelper pages(result);
    for (int i = 0; i < plan.size(); ++i) {
        const PdfPlacement &placement = plan.at(i);
        if (placement.source < 0) {
            pages.addPage(inkPages.at(size_t(i)), false);
            continue;
        }
        if (placement.source >= int(inputs.size())) {
            *error = QStringLiteral("Page %1 names a missing source.").arg(i + 1);
            return false;
        }
        const std::vector<QPDFObjectHandle> &sourcePages
            = inputs.at(size_t(placement.source))->getAllPages();
        if (placement.page < 0 || size_t(placement.page) >= sourcePages.size()) {
            *error = QStringLiteral("Page %1 names a missing source page.").arg(i + 1);
            return false;
        }
        pages.addPage(QPDFPageObjectHelper(sourcePages.at(size_t(placement.page))), false);
        overlay(result, QPDFPageObjectHelper(result.getAllPages().back()), inkPages.at(size_t(i)));
    }
    QPDFWriter writer(result);
    writer.setOutputMemory();
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.write();
    const std::unique_ptr<Buffer> buffer(writer.getBuffer());
    *out = QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()),
                      qsizetype(buffer->getSize()));
    return true;
}

} // namespace

// qpdf reports damage and its own faults by exceptions; none may leave the
// module.
bool PdfAssembler::assemble(const QList<PdfInput> &sources, const QByteArray &ink,
                            const QList<PdfPlacement> &plan, QByteArray *out, QString *error)
{
    try {
        return build(sources, ink, plan, out, error);
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
    } catch (...) {
        *error = QStringLiteral("The PDF could not be assembled.");
    }
    return false;
}
