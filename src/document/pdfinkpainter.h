#pragma once

#include "documentsnapshot.h"

class QPainter;
class QRectF;

// Paints pages into a PDF so that what can stay vectors does: strokes,
// shapes and lines as paths, text as text, inserted pictures without loss,
// backgrounds as BackgroundCodec chooses. Erasers
// and moved pieces of the layer clear only layer pixels, which a PDF cannot
// do; a page that has them gets its layer as one transparent lossless
// picture, its floating objects still as vectors. The painter's device is
// expected at the resolution text was laid out for (the screen's).
class PdfInkPainter
{
public:
    // The whole page, background too, fitted into `target` (the painter's
    // units) with its proportions kept and centred.
    static void paintPage(QPainter &painter, const QRectF &target, const PageRecord &page);
    // A PDF page's objects alone, for a device page the size of that PDF
    // page: where they lie over the PDF page as the canvas shows it.
    static void paintInk(QPainter &painter, const PageRecord &page);
    // False when the layer clears pixels and must go out as a picture.
    static bool hasVectorLayer(const PageRecord &page);
};
