#pragma once

#include "platform/hotkeyrecord.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

// Settings of the drawing tools (INI group "Draw"). The tool kit copies these
// into its tools' templates at start and back before the settings are saved.
struct DrawSettings
{
    int penWidth = 3;
    QColor penColor = QColor(0x00, 0x00, 0x00);
    int highlighterWidth = 30;
    QColor highlighterColor = QColor(0xff, 0xf2, 0x00);
    int eraserWidth = 120;
    int lineWidth = 10;
    QColor lineColor = QColor(0xff, 0x7f, 0x27);
    bool lineShadow = true;
    int lineStartType = 0;
    int lineEndType = 2;
    int linePenStyle = 1;
    int shapeWidth = 10;
    QColor shapeColor = QColor(0xed, 0x1c, 0x24);
    int shapeOpacity = 100;
    bool shapeShadow = true;
    int shapeType = 1;
    int shapePenStyle = 1;
    QColor shapeFillColor = QColor(Qt::transparent);
    QColor textColor = QColor(0x00, 0xa2, 0xe8);
    int textOpacity = 100;
    int textFontSize = 32;
    QString textFontFamily = QStringLiteral("Arial");
    int textAlign = 1;
    QColor newpageColor = QColor(0xff, 0xff, 0xff);
};

// The on-screen ruler's settings (INI group "Ruler").
struct RulerSettings
{
    int unit = 0;
    int dpi = 96;
    bool light = false;
    bool vertical = false;
    int opacity = 80;
};

// The presenter tools' settings (INI group "Presenter").
struct PresenterSettings
{
    static constexpr int MinRadius = 40;
    static constexpr int MaxRadius = 800;

    QColor laserColor = QColor(0xff, 0x00, 0x00);
    int laserSize = 16; // logical pixels
    int fadeSeconds = 3;
    int spotlightOpacity = 60; // percent of darkness
    int spotlightRadius = 150; // logical pixels
    bool fadingInk = false;
};

// The look of a text or number stamp.
struct TextStyle
{
    QFont font;
    QColor textColor;
    QColor borderColor;
};

// The process-wide settings and run-time state. Loaded from the settings file
// while the main window is built, read and changed directly by the rest of the
// program, and written back at close. Tests call reset() between cases.
class AppState
{
public:
    static AppState &instance();
    static void reset();
    // A state with every setting at its default, for keys missing from the file.
    static const AppState &defaults();

    static QList<QColor> defaultRgb();
    static QList<QColor> defaultRgb2();

    // Paths fixed at start-up.
    QString appPath;
    QString homePath;
    QString dataFolder;
    QString tempFolder; // ends with "/"
    QString iniPath;
    QString bakPath;

    // Group "UserInterface".
    QString language = QStringLiteral("en_GB");
    QString uiFont = QStringLiteral("Arial");
    int toolWidgetUISize = 0;
    int toolWidgetOpacity = 100;
    int captureDelay = 500;
    bool showFloatingOptionWidget = false;
    bool showTrayIcon = true;
    bool alertTrayIcon = true;
    bool supportPenAndTouch = false;
    // New Blank Page, New FullScreen Capture, Color Picker, Back To Last Page,
    // Zoom Into Screen, Focus Toolbar.
    static constexpr int HotKeyCount = 6;
    HotKeyRecord hotKeys[HotKeyCount] = { {}, {}, {}, {}, {}, defaultHotKey(5) };
    // Only Focus Toolbar is on from the start: a user who cannot reach the
    // toolbar with a mouse cannot open Preferences to switch it on.
    static HotKeyRecord defaultHotKey(int index);
    bool enableTouchUI = false;
    bool highContrast = false;
    QList<QColor> rgb = defaultRgb();
    QList<QColor> rgb2 = defaultRgb2();
    int barPosX = -9999;
    int barPosY = -9999;
    bool minimize = false;

    DrawSettings draw;
    RulerSettings ruler;
    PresenterSettings presenter;

    // Run-time state.
    double scaleFactor1 = 1.0; // 96 / logical DPI
    double scaleFactor2 = 0.5; // logical DPI / 192
    QColor greys[5] = { QColor(230, 230, 230), QColor(210, 210, 210), QColor(180, 180, 180),
                        QColor(120, 120, 120), QColor(30, 30, 30) };
    // The quit save runs only while this is on; an import pending makes it
    // write an empty "Language" so that the next start takes the backup.
    bool savingEnabled = true;
    bool importPending = false;
    // The user knows that the settings file cannot be written: told once.
    bool unsavedSettingsTold = false;
    // Told to the user once the window is up: what start-up had to give up.
    // Each is an English message, then what fills its %1, %2 and so on, so
    // that it is shown in the user's language.
    QList<QStringList> startNotices;

    // Text and number stamps: one style per input mode (0 text, 1 number) and
    // the number the next stamp shows. Kept for the run, never saved.
    TextStyle textStyles[2] = {
        { QFont(QStringLiteral("Arial"), 24), QColor(0xff, 0x00, 0x00), QColor(0xff, 0xff, 0xff) },
        { QFont(QStringLiteral("Arial"), 36), QColor(0xff, 0xff, 0xff), QColor(0xff, 0x00, 0x00) }
    };
    int nextNumber = 1;

    // A size scaled for the screen: base / f1, and also / f2 with the touch UI.
    int scaled(double base) const;
    // Whether pictures should use their "@2x" twin.
    bool wantsHighResPictures() const;

private:
    AppState() = default;
};
