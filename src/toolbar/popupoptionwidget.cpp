#include "popupoptionwidget.h"

#include "canvas/linetool.h"
#include "canvas/shapetool.h"
#include "canvas/texttool.h"
#include "canvas/toolkit.h"
#include "fadinginkbox.h"
#include "fillwidget.h"
#include "linewidget.h"
#include "panelhost.h"
#include "shapewidget.h"
#include "strokewidget.h"
#include "tabwidget.h"
#include "textwidget.h"

#include <QGridLayout>

PopupOptionWidget::PopupOptionWidget(bool bIsPopup, QWidget *pAnchor, QWidget *pParent,
                                     FloatingPlace *pPlace)
    : PopupWidget(bIsPopup, pAnchor, pParent, pPlace)
    , iTool(ToolKit::instance().currentToolId())
{
    if (PanelHost *host = PanelHost::current())
        setTitle(host->toolTitle(iTool));
    buildPages();
    connect(stroke, &StrokeWidget::signal_StrokeChanged, this,
            &PopupOptionWidget::signal_StrokeChanged);
}

bool PopupOptionWidget::hasOptions(int iTool)
{
    return iTool >= ToolKit::Pen && iTool <= ToolKit::Text;
}

void PopupOptionWidget::buildPages()
{
    ToolKit &kit = ToolKit::instance();
    stroke = new StrokeWidget(iTool, this);
    switch (iTool) {
    case ToolKit::Line:
        line = new LineWidget(this);
        pages = { line, stroke };
        addTabs({ QStringLiteral("Line"), QStringLiteral("Stroke") }, kit.lineTool()->popupIndex);
        connect(tabWidget, &TabWidget::signal_TabClicked, this,
                &PopupOptionWidget::slot_TabClicked_Line);
        slot_TabClicked_Line(tabWidget->currentIndex());
        break;
    case ToolKit::Shape:
        shape = new ShapeWidget(this);
        fill = new FillWidget(this);
        pages = { shape, stroke, fill };
        addTabs({ QStringLiteral("Shape"), QStringLiteral("Stroke"), QStringLiteral("Fill") },
                kit.shapeTool()->popupIndex);
        connect(tabWidget, &TabWidget::signal_TabClicked, this,
                &PopupOptionWidget::slot_TabClicked_Shape);
        slot_TabClicked_Shape(tabWidget->currentIndex());
        break;
    case ToolKit::Text:
        text = new TextWidget(this);
        pages = { text, stroke };
        addTabs({ QStringLiteral("Text"), QStringLiteral("Stroke") }, kit.textTool()->popupIndex);
        connect(tabWidget, &TabWidget::signal_TabClicked, this,
                &PopupOptionWidget::slot_TabClicked_Text);
        slot_TabClicked_Text(tabWidget->currentIndex());
        break;
    default:
        grid()->addWidget(stroke, 0, 0);
        if (iTool == ToolKit::Pen)
            grid()->addWidget(new FadingInkBox(this), 1, 0);
        break;
    }
}

void PopupOptionWidget::addTabs(const QStringList &titles, int iCurrent)
{
    tabWidget = new TabWidget(titles, iCurrent, this);
    grid()->addWidget(tabWidget, 0, 0, Qt::AlignLeft);
    for (int i = 0; i < pages.size(); ++i)
        grid()->addWidget(pages.at(i), i + 1, 0);
}

void PopupOptionWidget::showTab(int index, int &iRemembered)
{
    for (int i = 0; i < pages.size(); ++i)
        pages.at(i)->setVisible(i == index);
    iRemembered = index;
    // Placed when shown; until then the first showing does it.
    if (isVisible())
        placePanel();
}

void PopupOptionWidget::slot_TabClicked_Line(int index)
{
    showTab(index, ToolKit::instance().lineTool()->popupIndex);
}

void PopupOptionWidget::slot_TabClicked_Shape(int index)
{
    showTab(index, ToolKit::instance().shapeTool()->popupIndex);
}

void PopupOptionWidget::slot_TabClicked_Text(int index)
{
    showTab(index, ToolKit::instance().textTool()->popupIndex);
}

void PopupOptionWidget::refreshStroke()
{
    stroke->refresh();
    if (fill)
        fill->refresh();
}
