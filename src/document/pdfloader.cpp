#include "pdfloader.h"

#include "app/moduleloader.h"
#include "pdfmodule.h"

const char PdfLoader::ModuleName[] = "tavelmark_pdf";
const char PdfLoader::Missing[]
    = "Tavelmark's PDF support could not be loaded; reinstalling Tavelmark may repair it.";

PdfModule *PdfLoader::module()
{
    return ModuleLoader::loadAs<PdfModule>(ModuleName, "PDF");
}
