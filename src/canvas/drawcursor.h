#pragma once

#include <QCursor>

class QWidget;

// The cross cursor of the drawing tools, built once per scale and set on its
// widget only when the widget shows another: the pen asks on every move.
class DrawCursor
{
public:
    void showOn(QWidget *widget);
    // The widget's cursor changed (its CursorChange event).
    void changed()
    {
        if (!setting)
            shown = false;
    }

private:
    QCursor cursor;
    double builtFor = 0;
    bool shown = false;
    bool setting = false;
};
