#pragma once

#include <QCheckBox>

// The pen's "Fading Ink" check: strokes then fade out by themselves a few
// seconds after the pen lifts. Follows the mode when it is switched
// elsewhere (the menu, a shortcut, the command line).
class FadingInkBox : public QCheckBox
{
    Q_OBJECT
public:
    explicit FadingInkBox(QWidget *pParent = nullptr);
};
