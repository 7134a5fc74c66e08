#include "pdfassembler.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <exception>
#include <map>
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

// The ink page as a form. An ink page with one content stream and resources
// of its own, as ours are, becomes the form itself: its compressed stream is
// copied as it is instead of being decompressed and compressed again.
QPDFObjectHandle inkForm(QPDF &out, QPDFPageObjectHelper ink)
{
    QPDFObjectHandle page = ink.getObjectHandle();
    QPDFObjectHandle contents = page.getKey("/Contents");
    QPDFObjectHandle resources = page.getKey("/Resources");
    if (!contents.isStream() || !resources.isIndirect() || !page.getKey("/Rotate").isNull())
        return out.copyForeignObject(ink.getFormXObjectForPage());
    QPDFObjectHandle form = out.copyForeignObject(contents);
    QPDFObjectHandle dictionary = form.getDict();
    dictionary.replaceKey("/Type", QPDFObjectHandle::newName("/XObject"));
    dictionary.replaceKey("/Subtype", QPDFObjectHandle::newName("/Form"));
    dictionary.replaceKey(
        "/BBox", QPDFObjectHandle::newFromRectangle(ink.getMediaBox().getArrayAsRectangle()));
    dictionary.replaceKey("/Resources", out.copyForeignObject(resources));
    return form;
}

// The ink form over the copied page, in the page's crop box as the page is
// shown: its rotation undone for the form. The page's own content is put
// inside q ... Q so that a graphics state it leaves behind cannot move the
// ink.
void overlay(QPDF &out, QPDFPageObjectHelper page, QPDFPageObjectHelper ink)
{
    QPDFObjectHandle form = inkForm(out, ink);
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

// Each source page as first copied, before any ink was laid over it.
using Copied = std::map<std::pair<int, int>, QPDFObjectHandle>;

// Adds the page of `placement` and returns it: the source's page the first
// time (qpdf copies it), else a copy of that page as it was before its ink,
// so that a page shown twice does not carry the ink of both.
QPDFPageObjectHelper addSourcePage(QPDF &out, Copied &copied, const PdfPlacement &placement,
                                   const std::vector<QPDFObjectHandle> &sourcePages)
{
    QPDFPageDocumentHelper pages(out);
    const auto key = std::make_pair(placement.source, placement.page);
    const auto found = copied.find(key);
    if (found != copied.end()) {
        pages.addPage(QPDFPageObjectHelper(out.makeIndirectObject(found->second.shallowCopy())),
                      false);
        return QPDFPageObjectHelper(out.getAllPages().back());
    }
    pages.addPage(QPDFPageObjectHelper(sourcePages.at(size_t(placement.page))), false);
    QPDFObjectHandle page = out.getAllPages().back();
    copied[key] = page.shallowCopy();
    return QPDFPageObjectHelper(page);
}

// The ink pages of all ink PDFs, in order; the PDFs stay in `pdfs`.
std::vector<QPDFPageObjectHelper> inkPages(const QList<QByteArray> &inks, Pdfs *pdfs)
{
    std::vector<QPDFPageObjectHelper> pages;
    for (const QByteArray &ink : inks) {
        pdfs->push_back(read(ink, QString(), "ink"));
        for (const QPDFObjectHandle &page : pdfs->back()->getAllPages())
            pages.emplace_back(page);
    }
    return pages;
}

// Streams are copied as they are, compressed or not; only the new ones (the
// ink forms made from the ink pages) are compressed.
QByteArray written(QPDF &result)
{
    QPDFWriter writer(result);
    writer.setOutputMemory();
    writer.setDecodeLevel(qpdf_dl_none);
    writer.setCompressStreams(true);
    writer.setObjectStreamMode(qpdf_o_generate);
    writer.write();
    const std::unique_ptr<Buffer> buffer(writer.getBuffer());
    return QByteArray(reinterpret_cast<const char *>(buffer->getBuffer()),
                      qsizetype(buffer->getSize()));
}

bool build(const QList<PdfInput> &sources, const QList<QByteArray> &inks,
           const QList<PdfPlacement> &plan, QByteArray *out, QString *error)
{
    Pdfs inputs;
    for (const PdfInput &source : sources)
        inputs.push_back(read(source.bytes, source.password, "source"));
    Pdfs inkPdfs;
    const std::vector<QPDFPageObjectHelper> ink = inkPages(inks, &inkPdfs);
    if (ink.size() != size_t(plan.size())) {
        *error = QStringLiteral("The ink has %1 pages for %2.").arg(ink.size()).arg(plan.size());
        return false;
    }
    QPDF result;
    result.emptyPDF();
    QPDFPageDocumentHelper pages(result);
    Copied copied;
    for (int i = 0; i < plan.size(); ++i) {
        const PdfPlacement &placement = plan.at(i);
        if (placement.source < 0) {
            pages.addPage(ink.at(size_t(i)), false);
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
        overlay(result, addSourcePage(result, copied, placement, sourcePages), ink.at(size_t(i)));
    }
    QPDFObjectHandle info
        = inkPdfs.empty() ? QPDFObjectHandle() : inkPdfs.front()->getTrailer().getKey("/Info");
    if (info.isIndirect() && info.isDictionary())
        result.getTrailer().replaceKey("/Info", result.copyForeignObject(info));
    *out = written(result);
    return true;
}

} // namespace

// qpdf reports damage and its own faults by exceptions; none may leave the
// module.
bool PdfAssembler::assemble(const QList<PdfInput> &sources, const QList<QByteArray> &inks,
                            const QList<PdfPlacement> &plan, QByteArray *out, QString *error)
{
    try {
        return build(sources, inks, plan, out, error);
    } catch (const std::exception &e) {
        *error = QString::fromUtf8(e.what());
    } catch (...) {
        *error = QStringLiteral("The PDF could not be assembled.");
    }
    return false;
}
