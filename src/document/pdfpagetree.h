#pragma once

#include "pdfmodule.h"

#include <QByteArray>
#include <QString>

// Walks a PDF's page tree with qpdf before Qt's PDF library sees the file:
// that library loops for ever on a page tree that holds itself, which qpdf
// finds. The walk also counts the pages a tree really has, whatever its
// counts claim; a tree that claims too many is refused before the walk.
class PdfPageTree
{
public:
    // None when the tree is sound and holds 1 to PdfBounds::MaxPages pages.
    static PdfRefusal check(const QByteArray &bytes, const QString &password);
};
