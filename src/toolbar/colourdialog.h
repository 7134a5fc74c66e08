#pragma once

#include <QColor>

class QWidget;

// The colour chooser of the option and command panels: the toolkit's own
// dialog (never the platform's), over the main window.
class ColourDialog
{
public:
    // Asks for a colour starting at start; false when cancelled. A transient
    // panel holding pFrom is hidden while the dialog runs and closed after it,
    // so that the panel is not deleted under the caller.
    static bool ask(QWidget *pFrom, const QColor &start, QColor &chosen);
};
