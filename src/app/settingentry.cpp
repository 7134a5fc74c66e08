#include "settingentry.h"

#include "appstate.h"
#include "lang.h"

#include <QColor>
#include <QStringList>

#include <algorithm>

namespace {

using IntField = int &(*)(AppState &);
using BoolField = bool &(*)(AppState &);
using ColourField = QColor &(*)(AppState &);
using StringField = QString &(*)(AppState &);

// The field accessors hand out references; reading through them never writes.
AppState &unconst(const AppState &s)
{
    return const_cast<AppState &>(s);
}

AppState &defaults()
{
    return unconst(AppState::defaults());
}

// Malformed numbers read as 0 and are then brought into the offered range.
int parseInt(const QString &strValue)
{
    bool ok = false;
    const int value = strValue.trimmed().toInt(&ok);
    return ok ? value : 0;
}

QColor parseColour(const QString &strValue)
{
    QColor colour = QColor::fromString(strValue.trimmed());
    if (colour.isValid())
        colour.setAlpha(255);
    return colour;
}

SettingEntry intEntry(const char *group, const char *key, IntField field, int lo, int hi)
{
    SettingEntry entry;
    entry.group = QLatin1String(group);
    entry.key = QLatin1String(key);
    entry.read = [field, lo, hi](AppState &s, const QString &strValue) {
        if (strValue.isNull()) {
            field(s) = field(defaults());
            return;
        }
        field(s) = std::clamp(parseInt(strValue), lo, hi);
    };
    entry.write = [field](const AppState &s) { return QString::number(field(unconst(s))); };
    return entry;
}

SettingEntry boolEntry(const char *group, const char *key, BoolField field, bool saved = true)
{
    SettingEntry entry;
    entry.group = QLatin1String(group);
    entry.key = QLatin1String(key);
    entry.savedAtQuit = saved;
    entry.read = [field](AppState &s, const QString &strValue) {
        field(s) = strValue.isNull() ? field(defaults()) : parseInt(strValue) != 0;
    };
    entry.write = [field](const AppState &s) { return QString::number(int(field(unconst(s)))); };
    return entry;
}

SettingEntry colourEntry(const char *group, const char *key, ColourField field)
{
    SettingEntry entry;
    entry.group = QLatin1String(group);
    entry.key = QLatin1String(key);
    entry.read = [field](AppState &s, const QString &strValue) {
        const QColor colour = parseColour(strValue);
        field(s) = colour.isValid() ? colour : field(defaults());
    };
    entry.write = [field](const AppState &s) { return field(unconst(s)).name(); };
    return entry;
}

// A language is one of the tables the program has.
SettingEntry languageEntry()
{
    SettingEntry entry;
    entry.group = QStringLiteral("UserInterface");
    entry.key = QStringLiteral("Language");
    entry.read = [](AppState &s, const QString &strValue) {
        const QString value = strValue.trimmed();
        s.language = defaults().language;
        for (const QString &code : Lang::knownCodes()) {
            if (value.compare(code, Qt::CaseInsensitive) == 0)
                s.language = code;
        }
    };
    entry.write = [](const AppState &s) { return s.language; };
    return entry;
}

// A font family is a name someone chose (or a short list of them), never a
// page of text, control characters or a list with empty places.
bool isFamilyName(const QString &strValue)
{
    constexpr qsizetype MaxLength = 100;
    if (strValue.isEmpty() || strValue.size() > MaxLength)
        return false;
    for (const QChar c : strValue) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    const QStringList parts = strValue.split(QLatin1Char(','));
    return std::none_of(parts.cbegin(), parts.cend(),
                        [](const QString &part) { return part.trimmed().isEmpty(); });
}

SettingEntry fontEntry(const char *group, const char *key, StringField field, bool saved = true)
{
    SettingEntry entry;
    entry.group = QLatin1String(group);
    entry.key = QLatin1String(key);
    entry.savedAtQuit = saved;
    entry.read = [field](AppState &s, const QString &strValue) {
        const QString value = strValue.trimmed();
        field(s) = isFamilyName(value) ? value : field(defaults());
    };
    entry.write = [field](const AppState &s) { return field(unconst(s)); };
    return entry;
}

SettingEntry hotKeyEntry(int index)
{
    SettingEntry entry;
    entry.group = QStringLiteral("UserInterface");
    entry.key = QStringLiteral("HotKey%1").arg(index + 1);
    // A file from before a hotkey existed keeps that hotkey's default.
    entry.read = [index](AppState &s, const QString &strValue) {
        s.hotKeys[index] = strValue.isNull() ? AppState::defaultHotKey(index)
                                             : HotKeyRecord::fromString(strValue);
    };
    entry.write = [index](const AppState &s) { return s.hotKeys[index].toString(); };
    return entry;
}

SettingEntry paletteEntry(const char *key, QList<QColor> AppState::*field, int count)
{
    SettingEntry entry;
    entry.group = QStringLiteral("UserInterface");
    entry.key = QLatin1String(key);
    entry.read = [field, count](AppState &s, const QString &strValue) {
        const QStringList names = strValue.split(QLatin1Char(','));
        QList<QColor> colours;
        for (const QString &name : names) {
            const QColor colour = parseColour(name);
            if (!colour.isValid())
                break;
            colours.append(colour);
        }
        s.*field = colours.size() == count ? colours : defaults().*field;
    };
    entry.write = [field](const AppState &s) {
        QStringList names;
        for (const QColor &colour : s.*field)
            names.append(colour.name());
        return names.join(QLatin1Char(','));
    };
    return entry;
}

SettingEntry fillColourEntry()
{
    static const QString transparentName = QStringLiteral("Qt::transparent");
    SettingEntry entry;
    entry.group = QStringLiteral("Draw");
    entry.key = QStringLiteral("ShapeFillColor");
    entry.read = [](AppState &s, const QString &strValue) {
        if (strValue.trimmed() == transparentName || strValue.isNull()) {
            s.draw.shapeFillColor = QColor(Qt::transparent);
            return;
        }
        const QColor colour = parseColour(strValue);
        s.draw.shapeFillColor = colour.isValid() ? colour : QColor(Qt::transparent);
    };
    entry.write = [](const AppState &s) {
        return s.draw.shapeFillColor == QColor(Qt::transparent) ? transparentName
                                                                : s.draw.shapeFillColor.name();
    };
    return entry;
}

// Alignment values the text editor offers: left, right, centred.
SettingEntry textAlignEntry()
{
    SettingEntry entry = intEntry(
        "Draw", "TextAlign", [](AppState &s) -> int & { return s.draw.textAlign; }, 0, 0xff);
    auto clampToRange = entry.read;
    entry.read = [clampToRange](AppState &s, const QString &strValue) {
        clampToRange(s, strValue);
        const int align = s.draw.textAlign;
        if (align != Qt::AlignLeft && align != Qt::AlignRight && align != Qt::AlignHCenter)
            s.draw.textAlign = Qt::AlignLeft;
    };
    return entry;
}

// The ruler's opacity is offered in steps of ten.
SettingEntry rulerOpacityEntry()
{
    SettingEntry entry = intEntry(
        "Ruler", "Opacity", [](AppState &s) -> int & { return s.ruler.opacity; }, 10, 100);
    auto clampToRange = entry.read;
    entry.read = [clampToRange](AppState &s, const QString &strValue) {
        clampToRange(s, strValue);
        s.ruler.opacity = (s.ruler.opacity + 5) / 10 * 10;
    };
    return entry;
}

std::vector<SettingEntry> userInterfaceEntries()
{
    std::vector<SettingEntry> t;
    const char *ui = "UserInterface";
    t.push_back(languageEntry());
    t.push_back(fontEntry(
        ui, "UIFont", [](AppState &s) -> QString & { return s.uiFont; }, false));
    t.push_back(intEntry(
        ui, "ToolWidgetUISize", [](AppState &s) -> int & { return s.toolWidgetUISize; }, 0, 8));
    t.push_back(intEntry(
        ui, "ToolWidgetOpacity", [](AppState &s) -> int & { return s.toolWidgetOpacity; }, 10,
        100));
    t.push_back(intEntry(
        ui, "CaptureDelay", [](AppState &s) -> int & { return s.captureDelay; }, 100, 5000));
    t.push_back(boolEntry(ui, "ShowFloatingOptionWidget",
                          [](AppState &s) -> bool & { return s.showFloatingOptionWidget; }));
    t.push_back(boolEntry(
        ui, "ShowTrayIcon", [](AppState &s) -> bool & { return s.showTrayIcon; }, false));
    t.push_back(
        boolEntry(ui, "AlertTrayIcon", [](AppState &s) -> bool & { return s.alertTrayIcon; }));
    t.push_back(boolEntry(
        ui, "SupportPenAndTouch", [](AppState &s) -> bool & { return s.supportPenAndTouch; },
        false));
    for (int i = 0; i < AppState::HotKeyCount; ++i)
        t.push_back(hotKeyEntry(i));
    t.push_back(boolEntry(
        ui, "EnableTouchUI", [](AppState &s) -> bool & { return s.enableTouchUI; }, false));
    t.push_back(
        boolEntry(ui, "HighContrast", [](AppState &s) -> bool & { return s.highContrast; }));
    t.push_back(paletteEntry("Rgb", &AppState::rgb, 18));
    t.push_back(paletteEntry("Rgb2", &AppState::rgb2, 9));
    // The toolbar keeps itself on screen; window systems place windows in
    // 16-bit coordinates, so a position past them was never written by us.
    constexpr int MaxPos = 32767;
    t.push_back(intEntry(
        ui, "BarPosX", [](AppState &s) -> int & { return s.barPosX; }, -MaxPos, MaxPos));
    t.push_back(intEntry(
        ui, "BarPosY", [](AppState &s) -> int & { return s.barPosY; }, -MaxPos, MaxPos));
    t.push_back(boolEntry(ui, "Minimize", [](AppState &s) -> bool & { return s.minimize; }));
    return t;
}

std::vector<SettingEntry> drawEntries()
{
    std::vector<SettingEntry> t;
    const char *d = "Draw";
    t.push_back(intEntry(
        d, "PenWidth", [](AppState &s) -> int & { return s.draw.penWidth; }, 1, 36));
    t.push_back(
        colourEntry(d, "PenColor", [](AppState &s) -> QColor & { return s.draw.penColor; }));
    t.push_back(intEntry(
        d, "HighlighterWidth", [](AppState &s) -> int & { return s.draw.highlighterWidth; }, 1,
        36));
    t.push_back(colourEntry(d, "HighlighterColor",
                            [](AppState &s) -> QColor & { return s.draw.highlighterColor; }));
    t.push_back(intEntry(
        d, "EraserWidth", [](AppState &s) -> int & { return s.draw.eraserWidth; }, 30, 150));
    t.push_back(intEntry(
        d, "LineWidth", [](AppState &s) -> int & { return s.draw.lineWidth; }, 1, 36));
    t.push_back(
        colourEntry(d, "LineColor", [](AppState &s) -> QColor & { return s.draw.lineColor; }));
    t.push_back(
        boolEntry(d, "LineShadow", [](AppState &s) -> bool & { return s.draw.lineShadow; }));
    t.push_back(intEntry(
        d, "LineStartType", [](AppState &s) -> int & { return s.draw.lineStartType; }, 0, 5));
    t.push_back(intEntry(
        d, "LineEndType", [](AppState &s) -> int & { return s.draw.lineEndType; }, 0, 5));
    t.push_back(intEntry(
        d, "LinePenStyle", [](AppState &s) -> int & { return s.draw.linePenStyle; }, 1, 5));
    t.push_back(intEntry(
        d, "ShapeWidth", [](AppState &s) -> int & { return s.draw.shapeWidth; }, 3, 36));
    t.push_back(
        colourEntry(d, "ShapeColor", [](AppState &s) -> QColor & { return s.draw.shapeColor; }));
    t.push_back(intEntry(
        d, "ShapeOpacity", [](AppState &s) -> int & { return s.draw.shapeOpacity; }, 0, 100));
    t.push_back(
        boolEntry(d, "ShapeShadow", [](AppState &s) -> bool & { return s.draw.shapeShadow; }));
    t.push_back(intEntry(
        d, "ShapeType", [](AppState &s) -> int & { return s.draw.shapeType; }, 0, 17));
    t.push_back(intEntry(
        d, "ShapePenStyle", [](AppState &s) -> int & { return s.draw.shapePenStyle; }, 1, 5));
    t.push_back(fillColourEntry());
    t.push_back(
        colourEntry(d, "TextColor", [](AppState &s) -> QColor & { return s.draw.textColor; }));
    t.push_back(intEntry(
        d, "TextOpacity", [](AppState &s) -> int & { return s.draw.textOpacity; }, 0, 100));
    t.push_back(intEntry(
        d, "TextFontSize", [](AppState &s) -> int & { return s.draw.textFontSize; }, 8, 72));
    t.push_back(fontEntry(d, "TextFontFamily",
                          [](AppState &s) -> QString & { return s.draw.textFontFamily; }));
    t.push_back(textAlignEntry());
    t.push_back(colourEntry(d, "NewpageColor",
                            [](AppState &s) -> QColor & { return s.draw.newpageColor; }));
    return t;
}

std::vector<SettingEntry> rulerEntries()
{
    std::vector<SettingEntry> t;
    const char *r = "Ruler";
    t.push_back(intEntry(
        r, "Unit", [](AppState &s) -> int & { return s.ruler.unit; }, 0, 4));
    t.push_back(intEntry(
        r, "Dpi", [](AppState &s) -> int & { return s.ruler.dpi; }, 8, 800));
    t.push_back(boolEntry(r, "Light", [](AppState &s) -> bool & { return s.ruler.light; }));
    t.push_back(boolEntry(r, "Vertical", [](AppState &s) -> bool & { return s.ruler.vertical; }));
    t.push_back(rulerOpacityEntry());
    return t;
}

std::vector<SettingEntry> presenterEntries()
{
    std::vector<SettingEntry> t;
    const char *p = "Presenter";
    t.push_back(colourEntry(p, "LaserColor",
                            [](AppState &s) -> QColor & { return s.presenter.laserColor; }));
    t.push_back(intEntry(
        p, "LaserSize", [](AppState &s) -> int & { return s.presenter.laserSize; }, 4, 64));
    t.push_back(intEntry(
        p, "FadeSeconds", [](AppState &s) -> int & { return s.presenter.fadeSeconds; }, 1, 30));
    t.push_back(intEntry(
        p, "SpotlightOpacity", [](AppState &s) -> int & { return s.presenter.spotlightOpacity; },
        10, 95));
    t.push_back(intEntry(
        p, "SpotlightRadius", [](AppState &s) -> int & { return s.presenter.spotlightRadius; },
        PresenterSettings::MinRadius, PresenterSettings::MaxRadius));
    t.push_back(
        boolEntry(p, "FadingInk", [](AppState &s) -> bool & { return s.presenter.fadingInk; }));
    return t;
}

} // namespace

bool SettingEntry::accepts(const QString &strText) const
{
    AppState scratch = AppState::defaults();
    read(scratch, strText);
    return write(scratch).compare(strText.trimmed(), Qt::CaseInsensitive) == 0;
}

const std::vector<SettingEntry> &SettingEntry::table()
{
    static const std::vector<SettingEntry> entries = [] {
        std::vector<SettingEntry> all = userInterfaceEntries();
        for (auto *part : { drawEntries, rulerEntries, presenterEntries }) {
            std::vector<SettingEntry> more = part();
            all.insert(all.end(), more.begin(), more.end());
        }
        return all;
    }();
    return entries;
}
