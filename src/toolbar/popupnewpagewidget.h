#pragma once

#include "popupwidget.h"

class PaletteButtons;

// The transient new-page panel: a blank page in one of the palette colours,
// another colour or a picked one, or a page from a screen capture, a clone of
// the current page or opened pictures.
class PopupNewpageWidget : public PopupWidget
{
    Q_OBJECT
public:
    enum Entry { MoreColor = 18, Picker = 19, Capture = 20, Duplicate = 21, Open = 22 };

    PopupNewpageWidget(QWidget *pAnchor, QWidget *pParent);

    PaletteButtons *entries() const { return group; }

public Q_SLOTS:
    void slot_PageColor(int iColor);

private:
    PaletteButtons *group;
};
