#pragma once

#include <QColor>
#include <QString>

// A colour in words for screen readers ("Dark red", "Light grey"), from its
// hue and lightness, so that any colour the user sets still has a name.
// Looked up in the current language table; the caller releases the table.
class ColourName
{
public:
    static QString spoken(const QColor &colour);

private:
    static const char *hueWord(const QColor &colour);
};
