#pragma once

#include "widgets/maindialog.h"

class QComboBox;
class QGridLayout;
class QSpinBox;
class RulerDlg;

// Edits the units, DPI, colour, layout and opacity of the ruler that opened
// it. Every change reaches the ruler (and the settings) at once and stays,
// whichever button closes the dialog.
class RulerPreferencesDlg : public MainDialog
{
    Q_OBJECT
public:
    explicit RulerPreferencesDlg(RulerDlg *pRuler);

    QComboBox *unitsBox() const { return units; }
    QSpinBox *dpiBox() const { return dpi; }
    QComboBox *colorBox() const { return color; }
    QComboBox *layoutBox() const { return layout; }
    QComboBox *opacityBox() const { return opacity; }

public Q_SLOTS:
    void slot_Default();

private:
    QComboBox *addCombo(QGridLayout *pGrid, const QString &strLabel, const QStringList &items);
    void addButtons(QGridLayout *pGrid);
    void connectToRuler();

    RulerDlg *ruler;
    QComboBox *units = nullptr;
    QSpinBox *dpi = nullptr;
    QComboBox *color = nullptr;
    QComboBox *layout = nullptr;
    QComboBox *opacity = nullptr;
};
