#include "colourname.h"

#include "app/lang.h"

namespace {

bool isGrey(const QColor &colour)
{
    return colour.hslSaturationF() < 0.15 || colour.lightnessF() < 0.08
        || colour.lightnessF() > 0.95;
}

const char *greyWord(double lightness)
{
    if (lightness < 0.12)
        return "Black";
    if (lightness < 0.4)
        return "Dark grey";
    if (lightness < 0.65)
        return "Grey";
    return lightness < 0.9 ? "Light grey" : "White";
}

} // namespace

const char *ColourName::hueWord(const QColor &colour)
{
    const int hue = colour.hslHue();
    const double lightness = colour.lightnessF();
    // Dull orange and yellow are what people call brown.
    if (hue >= 15 && hue < 50 && lightness < 0.6 && colour.hslSaturationF() < 0.5)
        return "Brown";
    struct Band
    {
        int below;
        const char *word;
    };
    static constexpr Band bands[] = {
        { 15, "Red" },   { 40, "Orange" },  { 52, "Gold" },    { 70, "Yellow" },
        { 90, "Lime" },  { 165, "Green" },  { 190, "Cyan" },   { 210, "Sky blue" },
        { 230, "Blue" }, { 260, "Indigo" }, { 290, "Purple" }, { 345, "Pink" },
        { 361, "Red" },
    };
    for (const Band &band : bands) {
        if (hue < band.below)
            return band.word;
    }
    return "Red";
}

QString ColourName::spoken(const QColor &colour)
{
    if (!colour.isValid())
        return QString();
    if (isGrey(colour))
        return Lang::tr("Accessible", QLatin1String(greyWord(colour.lightnessF())));
    const QString hue = Lang::tr("Accessible", QLatin1String(hueWord(colour)));
    const double lightness = colour.lightnessF();
    if (lightness < 0.3)
        return Lang::tr("Accessible", QStringLiteral("Dark %1")).arg(hue);
    if (lightness > 0.75)
        return Lang::tr("Accessible", QStringLiteral("Light %1")).arg(hue);
    return hue;
}
