#pragma once

#include "pdfmodule.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QMutex>
#include <QSizeF>
#include <QString>

#include <memory>

// A PDF that pages show. Its bytes are kept once however many pages show
// it, and written once into documents and the session journal; its pages
// are rendered on any thread, one at a time.
class PdfSource
{
public:
    // Opens `bytes` (blocking: a worker's call); null with the reason in
    // `why`, and in `pWhy` if given.
    static std::shared_ptr<PdfSource> open(const QByteArray &bytes, const QString &password,
                                           PdfRefusal *pWhy = nullptr);

    const QByteArray &bytes() const { return data; }
    const QString &password() const { return secret; }
    // Names the PDF's file in documents and the journal: equal bytes, equal name.
    const QString &fileName() const { return name; }

    int pageCount() const { return int(sizes.size()); }
    QSizeF pageSize(int index) const { return sizes.value(index); }

    // The page as large as fits into `box` with its proportions kept, over
    // white; null for a page the PDF does not have or cannot render.
    QImage render(int index, const QSize &box) const;
    // The size render() gives the page in `box`.
    QSize fittedSize(int index, const QSize &box) const;

private:
    PdfSource() = default;

    QByteArray data;
    QString secret;
    QString name;
    QList<QSizeF> sizes;
    mutable QMutex mutex;
    std::unique_ptr<PdfFile> file;
};
