#pragma once

class WebModule;

// The network module, loaded when the update check first needs it.
class WebLoader
{
public:
    static const char ModuleName[];

    // The module, or null when it cannot be loaded (the reason is logged).
    static WebModule *module();
};
