#pragma once

#include <QColor>
#include <QImage>

class QPalette;

// The colours of the toolbar, its panels and the keyboard focus ring for the
// look in use. The high-contrast look is on when the user chose it in
// Preferences or when the desktop asks for it.
class LookColours
{
public:
    // Two rings, one inside the other, so that the ring shows over a light
    // and a dark desktop alike.
    struct Ring
    {
        QColor dark;
        QColor light;
        int width; // of each of the two rings, in logical pixels
    };

    static bool highContrast();
    static bool desktopAsksHighContrast();
    // A palette whose window and text colours are (almost) black and white.
    static bool isHighContrastPalette(const QPalette &palette);

    // The high-contrast faces and ink: the palette's window and text colours
    // when they are as far apart as black and white, else white and black.
    static QColor face();
    static QColor ink();
    // Disabled controls keep legible ink (at least 4.5:1 on the face).
    static QColor disabledInk();
    static Ring focusRing();
    // A picture in one colour, keeping its shape (alpha): icons in the
    // high-contrast look.
    static QImage tinted(const QImage &picture, const QColor &colour);
    // The dark parts of a picture in dark and its light parts in light,
    // keeping its shape: icons keep their inner lines.
    static QImage twoTone(const QImage &picture, const QColor &dark, const QColor &light);

    // The contrast ratio between two colours, 1 to 21.
    static double contrastRatio(const QColor &a, const QColor &b);
    // A style sheet for option panels, desktop-tool panels and menus in high
    // contrast; empty in the usual look.
    static QString panelStyleSheet();
};
