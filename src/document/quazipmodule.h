#pragma once

#include "zipmodule.h"

#include <QObject>

// The ZIP module's entry point, found by the plugin loader.
class QuaZipModule : public QObject, public ZipModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID ZipModule_iid)
    Q_INTERFACES(ZipModule)
public:
    std::unique_ptr<ZipReader> reader(const QString &path) override;
    std::unique_ptr<ZipWriter> writer(QIODevice *device) override;
    ZipPiece deflate(const QByteArray &data, int level) override;
};
