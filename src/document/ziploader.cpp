#include "ziploader.h"

#include "app/moduleloader.h"
#include "zipmodule.h"

const char ZipLoader::ModuleName[] = "tavelmark_zip";
const char ZipLoader::Missing[]
    = "Tavelmark's ZIP support could not be loaded; reinstalling Tavelmark may repair it.";

ZipModule *ZipLoader::module()
{
    return ModuleLoader::loadAs<ZipModule>(ModuleName, "ZIP");
}
