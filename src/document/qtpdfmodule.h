#pragma once

#include "pdfmodule.h"

#include <QObject>

// The PDF module's entry point, found by the plugin loader.
class QtPdfModule : public QObject, public PdfModule
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID PdfModule_iid)
    Q_INTERFACES(PdfModule)
public:
    std::unique_ptr<PdfFile> open(const QByteArray &bytes, const QString &password,
                                  PdfRefusal *why) override;
    bool assemble(const QList<PdfInput> &sources, const QList<QByteArray> &inks,
                  const QList<PdfPlacement> &plan, QByteArray *out, QString *error) override;
};
