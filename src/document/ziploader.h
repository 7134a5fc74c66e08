#pragma once

class ZipModule;

// The ZIP module, loaded when a document, an earlier version's session file
// or an export first needs it.
class ZipLoader
{
public:
    static const char ModuleName[];
    // Said to the user when the module cannot be loaded (English, for the
    // message lookup); the technical reason goes to the log.
    static const char Missing[];

    // The module, or null when it cannot be loaded.
    static ZipModule *module();
};
