#pragma once

#include "objectrecord.h"

#include <QColor>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

#include <memory>

class PdfSource;

// One page of a document as a worker reads it: checked values, copied and
// checked files, decoded records and pictures, and nothing that belongs to
// the GUI thread, which makes the page of it.
struct PageParts
{
    struct Part
    {
        ObjectRecord record;
        QString file; // a picture object's
        QImage picture; // a raster picture object's, decoded
    };

    bool read = false; // false: the page could not be read at all
    QSize size;
    QSize pixels;
    qreal ratio = 1;
    QColor colour;
    QString background; // a checked copy of its picture, or empty
    QImage backgroundPicture; // decoded ahead, for a page shown at once
    std::shared_ptr<PdfSource> pdf; // a PDF page's, opened already
    int pdfPage = -1;
    QList<Part> objects;
};
