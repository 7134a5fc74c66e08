#pragma once

#include "popupwidget.h"

#include <QList>

class FillWidget;
class LineWidget;
class ShapeWidget;
class StrokeWidget;
class TabWidget;
class TextWidget;

// The draw-tool options of the current tool: the stroke page alone for the
// pen, highlighter and eraser; tabs for the line, shape and text tools, which
// reopen on the tab last chosen.
class PopupOptionWidget : public PopupWidget
{
    Q_OBJECT
public:
    PopupOptionWidget(bool bIsPopup, QWidget *pAnchor, QWidget *pParent,
                      FloatingPlace *pPlace = nullptr);

    // Whether the tool has options to show (not the mouse, select or drag).
    static bool hasOptions(int iTool);

    int tool() const { return iTool; }
    TabWidget *tabs() const { return tabWidget; }
    StrokeWidget *strokePage() const { return stroke; }
    LineWidget *linePage() const { return line; }
    ShapeWidget *shapePage() const { return shape; }
    FillWidget *fillPage() const { return fill; }
    TextWidget *textPage() const { return text; }

    // Shows the width and colour after a change made elsewhere.
    void refreshStroke();

public Q_SLOTS:
    void slot_TabClicked_Line(int index);
    void slot_TabClicked_Shape(int index);
    void slot_TabClicked_Text(int index);

Q_SIGNALS:
    // The stroke page changed the width or colour.
    void signal_StrokeChanged();

private:
    void buildPages();
    void addTabs(const QStringList &titles, int iCurrent);
    // Shows the page of tab index and stores it as the tool's tab.
    void showTab(int index, int &iRemembered);

    const int iTool;
    TabWidget *tabWidget = nullptr;
    StrokeWidget *stroke = nullptr;
    LineWidget *line = nullptr;
    ShapeWidget *shape = nullptr;
    FillWidget *fill = nullptr;
    TextWidget *text = nullptr;
    QList<QWidget *> pages; // by tab index
};
