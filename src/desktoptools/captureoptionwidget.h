#pragma once

#include "desktoptoolpanel.h"

class CaptureDlg;

// The capture dialog's output panel: close, then capture as a new page, as a
// file or to the clipboard. Like every tool panel it keeps the mouse to
// itself, so that clicks on it never reach the dialog's marking.
class CaptureOptionWidget : public DesktopToolPanel
{
    Q_OBJECT
public:
    explicit CaptureOptionWidget(CaptureDlg *pDialog);
};
