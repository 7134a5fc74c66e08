#pragma once

class PdfModule;

// The PDF module, loaded when a PDF is first opened or exported.
class PdfLoader
{
public:
    static const char ModuleName[];
    // Said to the user when the module cannot be loaded (English, for the
    // message lookup); the technical reason goes to the log.
    static const char Missing[];
    // The module, or null when it cannot be loaded.
    static PdfModule *module();
};
