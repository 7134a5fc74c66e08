#include "rulerscale.h"

#include <QtMath>

QList<RulerMark> RulerScale::marks(int iUnit, int iDpi, int iLength)
{
    QList<RulerMark> out;
    if (iDpi < 1 || iLength < 1)
        return out;
    switch (iUnit) {
    case Inches:
        inchMarks(out, iDpi, iLength);
        break;
    case Centimeters:
        centimeterMarks(out, iDpi, iLength);
        break;
    case Picas:
        picaMarks(out, iDpi, iLength);
        break;
    case Points:
        pointMarks(out, iDpi, iLength);
        break;
    default:
        pixelMarks(out, iLength);
        break;
    }
    return out;
}

void RulerScale::pixelMarks(QList<RulerMark> &out, int iLength)
{
    for (int p = 1; p < iLength; ++p) {
        if (p % 50 == 0)
            out.append({ p, LongMark, p });
        else if (p % 10 == 0)
            out.append({ p, MediumMark });
        else if (p % 2 == 0)
            out.append({ p, ShortMark });
    }
}

// Tenths of the inch that ends at each long tick.
void RulerScale::inchMarks(QList<RulerMark> &out, int iDpi, int iLength)
{
    for (int p = iDpi; p < iLength + iDpi; p += iDpi) {
        out.append({ p, LongMark, p / iDpi });
        for (int k = 1; k <= 9; ++k)
            out.append({ qRound(iDpi / 10.0 * k + p - iDpi), MediumMark });
    }
}

// Long ticks every centimetre, medium ones every 2 mm.
void RulerScale::centimeterMarks(QList<RulerMark> &out, int iDpi, int iLength)
{
    const double perCm = iDpi / 2.54;
    const int last = qRound(iLength / perCm + 1);
    for (int n = 1; n <= last; ++n) {
        out.append({ qRound(perCm * n + 1), LongMark, n });
        const int start = qRound(perCm * (n - 1) + 1);
        for (int k = 1; k <= 4; ++k)
            out.append({ qRound(iDpi / 12.7 * k + start), MediumMark });
    }
}

// Every pica a tick; numbered every fifth.
void RulerScale::picaMarks(QList<RulerMark> &out, int iDpi, int iLength)
{
    const double perPica = iDpi / 6.0;
    const int last = qRound(iLength / perPica + 1);
    for (int n = 1; n <= last; ++n) {
        const int pos = qRound(perPica * n + 1);
        if (n % 5 == 0)
            out.append({ pos, LongMark, n });
        else
            out.append({ pos, MediumMark });
    }
}

void RulerScale::pointMarks(QList<RulerMark> &out, int iDpi, int iLength)
{
    const double perPoint = iDpi / 72.0;
    const int last = qRound(iLength / perPoint + 1);
    for (int n = 5; n <= last; n += 5) {
        const int pos = qRound(perPoint * n + 1);
        if (n % 50 == 0)
            out.append({ pos, LongMark, n });
        else if (n % 25 == 0)
            out.append({ pos, MediumMark });
        else
            out.append({ pos, ShortMark });
    }
}

QString RulerScale::valueText(int iUnit, int iDpi, int iPixels)
{
    const double dpi = qMax(1, iDpi);
    switch (iUnit) {
    case Inches:
        return QStringLiteral("%1\ninch").arg(iPixels / dpi, 0, 'f', 2);
    case Centimeters:
        return QStringLiteral("%1\ncm").arg(iPixels / (dpi / 2.54), 0, 'f', 2);
    case Picas:
        return QStringLiteral("%1\npica").arg(iPixels / (dpi / 6), 0, 'f', 2);
    case Points:
        return QStringLiteral("%1\npoint").arg(iPixels / (dpi / 72), 0, 'f', 2);
    default:
        return QStringLiteral("%1\npx").arg(iPixels);
    }
}
