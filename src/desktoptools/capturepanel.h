#pragma once

#include <array>

class CloseBtn;
class PopupWidgetBtn;
class QPainter;
class QString;
class QWidget;

// Sizes and look shared by the desktop tools' panels: the capture, picker
// and magnifier panels and the window capture's floating panel.
class CapturePanel
{
public:
    // n × u truncated, u being the UI scale (logical DPI / 96, 2 with the
    // touch interface).
    static int px(const QWidget *pWidget, int n);
    // The height of the title strip.
    static int titleHeight(const QWidget *pWidget);
    // Dark grey border, light grey body and a title strip shaded from white
    // to mid grey and back.
    static void paintBackground(QPainter &painter, const QWidget *pWidget);
    // The title in the strip, light grey over a dark shadow.
    static void paintTitle(QPainter &painter, const QWidget *pWidget, const QString &strTitle);

    // The title strip's close button, placed in its corner. Both makers look
    // up their tooltips; the caller releases the language table.
    static CloseBtn *makeCloseButton(QWidget *pParent);
    // The three outputs: as new page, as file, to the clipboard.
    static std::array<PopupWidgetBtn *, 3> makeOutputButtons(QWidget *pParent);
};
