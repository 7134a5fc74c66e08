#include "lookcolours.h"

#include "app/appstate.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QString>
#include <QtGlobal>

#include <cmath>

#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
#include <QAccessibilityHints>
#include <QStyleHints>
#endif

namespace {

// Black on white is 21:1; a palette this close to it was chosen for contrast.
constexpr double HighContrastPalette = 19.5;
// Icons' paper and highlights are lighter than this grey, their lines and
// marks darker.
constexpr int LightGrey = 170;

double channel(double c)
{
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor &colour)
{
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF())
        + 0.0722 * channel(colour.blueF());
}

QPalette currentPalette()
{
    return QGuiApplication::palette();
}

} // namespace

double LookColours::contrastRatio(const QColor &a, const QColor &b)
{
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

bool LookColours::isHighContrastPalette(const QPalette &palette)
{
    return contrastRatio(palette.color(QPalette::Window), palette.color(QPalette::WindowText))
        >= HighContrastPalette;
}

// Qt 6.4 has no contrast preference of its own: a high-contrast GTK theme
// named in the environment and a black-and-white palette are what it shows.
bool LookColours::desktopAsksHighContrast()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 10, 0)
    if (QGuiApplication::styleHints()->accessibility()->contrastPreference()
        == Qt::ContrastPreference::HighContrast)
        return true;
#endif
    if (qEnvironmentVariable("GTK_THEME")
            .contains(QLatin1String("HighContrast"), Qt::CaseInsensitive))
        return true;
    return isHighContrastPalette(currentPalette());
}

bool LookColours::highContrast()
{
    return AppState::instance().highContrast || desktopAsksHighContrast();
}

QColor LookColours::face()
{
    const QPalette palette = currentPalette();
    return isHighContrastPalette(palette) ? palette.color(QPalette::Window) : QColor(Qt::white);
}

QColor LookColours::ink()
{
    const QPalette palette = currentPalette();
    return isHighContrastPalette(palette) ? palette.color(QPalette::WindowText) : QColor(Qt::black);
}

// Two fifths of the way from the ink to the face: grey, yet more than 4.5:1
// against the face for black on white and white on black.
QColor LookColours::disabledInk()
{
    const QColor a = ink(), b = face();
    const auto mix = [](double x, double y) { return qRound(0.6 * x + 0.4 * y); };
    return QColor(mix(a.red(), b.red()), mix(a.green(), b.green()), mix(a.blue(), b.blue()));
}

LookColours::Ring LookColours::focusRing()
{
    if (highContrast())
        return { ink(), face(), 2 };
    return { QColor(0x10, 0x2a, 0x6b), QColor(Qt::white), 2 };
}

QImage LookColours::tinted(const QImage &picture, const QColor &colour)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&result);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(result.rect(), colour);
    return result;
}

QImage LookColours::twoTone(const QImage &picture, const QColor &dark, const QColor &light)
{
    QImage result = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < result.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(result.scanLine(y));
        for (int x = 0; x < result.width(); ++x) {
            const QColor &tone = qGray(line[x]) < LightGrey ? dark : light;
            line[x] = qRgba(tone.red(), tone.green(), tone.blue(), qAlpha(line[x]));
        }
    }
    return result;
}

QString LookColours::panelStyleSheet()
{
    if (!highContrast())
        return QString();
    const QString f = face().name(), i = ink().name(), d = disabledInk().name();
    return QStringLiteral("QToolButton { background: %1; color: %2; border: 2px solid %2; }"
                          "QToolButton:checked { border: 4px solid %2; }"
                          "QToolButton:disabled { color: %3; border: 2px dashed %3; }"
                          "QLabel, QCheckBox, QRadioButton { color: %2; }"
                          "QMenu { background: %1; border: 2px solid %2; }"
                          "QMenu::item { color: %2; }"
                          "QMenu::item:selected { background: %2; color: %1; }"
                          "QMenu::item:disabled { color: %3; }")
        .arg(f, i, d);
}
