#pragma once

#include <QGroupBox>

class ColorBtn;
class QLabel;
class QSpinBox;

// The presenter tools' part of Preferences: the laser pointer's colour and
// size, how long fading ink lasts and how dark the spotlight makes the
// screen. Changes apply at once; the settings file keeps them at quit.
class PresenterPrefs : public QGroupBox
{
    Q_OBJECT
public:
    explicit PresenterPrefs(QWidget *pParent = nullptr);

    QSpinBox *laserSizeBox() const { return laserSize; }
    QSpinBox *fadeSecondsBox() const { return fadeSeconds; }
    QSpinBox *darknessBox() const { return darkness; }

    // Back to the values of a first start.
    void restoreDefaults();

public Q_SLOTS:
    void slot_UpdateLang();

private:
    QSpinBox *addSpinBox(int iRow, QLabel *&pLabel, int iMinimum, int iMaximum);
    void showSettings();

    QLabel *laserColourLabel = nullptr;
    QLabel *laserSizeLabel = nullptr;
    QLabel *fadeSecondsLabel = nullptr;
    QLabel *darknessLabel = nullptr;
    ColorBtn *laserColour = nullptr;
    QSpinBox *laserSize = nullptr;
    QSpinBox *fadeSeconds = nullptr;
    QSpinBox *darkness = nullptr;
};
