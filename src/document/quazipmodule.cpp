#include "quazipmodule.h"

#include "quazipreader.h"
#include "quazipwriter.h"

std::unique_ptr<ZipReader> QuaZipModule::reader(const QString &path)
{
    auto zip = std::make_unique<QuaZipReader>(path);
    if (!zip->isOpen())
        return nullptr;
    return zip;
}

std::unique_ptr<ZipWriter> QuaZipModule::writer(QIODevice *device)
{
    auto zip = std::make_unique<QuaZipWriter>(device);
    if (!zip->isOpen())
        return nullptr;
    return zip;
}
