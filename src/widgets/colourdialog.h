#pragma once

#include <QColor>

class QWidget;

// The colour chooser of the option and command panels: the toolkit's own
// dialog (never the platform's).
class ColourDialog
{
public:
    // Asks for a colour starting at start over pParent; false when cancelled.
    // pTransient, a panel that closes when it loses the focus, is hidden while
    // the dialog runs and closed after it, so that it is not deleted under
    // the caller.
    static bool ask(QWidget *pParent, QWidget *pTransient, const QColor &start, QColor &chosen);
};
