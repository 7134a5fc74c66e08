#include "webloader.h"

#include "app/moduleloader.h"
#include "webmodule.h"

const char WebLoader::ModuleName[] = "tavelmark_net";

WebModule *WebLoader::module()
{
    return ModuleLoader::loadAs<WebModule>(ModuleName, "network");
}
