#pragma once

#include <QList>
#include <QString>

// One tick of the ruler's scale: where it sits along the ruler, how far it
// reaches in from each edge and, for long ticks, the number written by it.
struct RulerMark
{
    int pos = 0;
    int length = 0;
    int number = -1; // -1: no number
};

// The scales the ruler can show. Units: 0 pixels, 1 inches, 2 centimetres,
// 3 picas, 4 points, at a given dots-per-inch.
class RulerScale
{
public:
    enum Unit { Pixels, Inches, Centimeters, Picas, Points, UnitCount };
    static constexpr int LongMark = 12;
    static constexpr int MediumMark = 6;
    static constexpr int ShortMark = 3;

    // Every tick of a ruler iLength pixels long; ticks may lie past the end,
    // the painter clips them.
    static QList<RulerMark> marks(int iUnit, int iDpi, int iLength);
    // The marker's reading of iPixels from the start edge, with its unit on a
    // second line.
    static QString valueText(int iUnit, int iDpi, int iPixels);

private:
    static void pixelMarks(QList<RulerMark> &out, int iLength);
    static void inchMarks(QList<RulerMark> &out, int iDpi, int iLength);
    static void centimeterMarks(QList<RulerMark> &out, int iDpi, int iLength);
    static void picaMarks(QList<RulerMark> &out, int iDpi, int iLength);
    static void pointMarks(QList<RulerMark> &out, int iDpi, int iLength);
};
