#include "linewidget.h"

#include "app/appstate.h"
#include "canvas/linetool.h"
#include "canvas/toolkit.h"
#include "penstylerows.h"
#include "popupbuttons.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>

namespace {

constexpr int CapCount = 6;
constexpr const char *CapNames[CapCount]
    = { "No cap", "Round cap", "Filled arrow", "Open arrow", "Dot", "Square" };

ObjLine *currentLine()
{
    ToolKit &kit = ToolKit::instance();
    return kit.currentToolId() == ToolKit::Line ? &kit.lineTool()->lineTemplate : nullptr;
}

} // namespace

LineWidget::LineWidget(QWidget *pParent)
    : QWidget(pParent)
{
    const ObjLine &line = ToolKit::instance().lineTool()->lineTemplate;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(AppState::instance().scaled(3));
    const QString caps = QStringLiteral(":/Popup/LineCap%1");
    int row = 0;
    PopupButtons::addLabel(grid, row, "Start LineCap:", this);
    startCaps = PopupButtons::addRow(grid, row, caps, 1, CapCount, this);
    PopupButtons::addLabel(grid, row, "End LineCap:", this);
    endCaps = PopupButtons::addRow(grid, row, caps, CapCount + 1, CapCount, this);
    PopupButtons::nameRow(startCaps, CapNames, "Start LineCap:");
    PopupButtons::nameRow(endCaps, CapNames, "End LineCap:");
    QButtonGroup *penStyles = PenStyleRows::addStyles(grid, row, line.penStyle, this);
    QAbstractButton *shadow = PenStyleRows::addShadow(grid, row, line.shadow, this);
    PopupButtons::check(startCaps, line.startCap);
    PopupButtons::check(endCaps, line.endCap);
    connect(startCaps, &QButtonGroup::idClicked, this, &LineWidget::slot_LineCapStart);
    connect(endCaps, &QButtonGroup::idClicked, this, &LineWidget::slot_LineCapEnd);
    connect(penStyles, &QButtonGroup::idClicked, this, &LineWidget::slot_LinePenStyle);
    connect(shadow, &QAbstractButton::clicked, this, &LineWidget::slot_StrokeShadow);
}

void LineWidget::slot_LineCapStart(int iLineCapStart)
{
    if (ObjLine *line = currentLine())
        line->startCap = iLineCapStart;
}

void LineWidget::slot_LineCapEnd(int iLineCapEnd)
{
    if (ObjLine *line = currentLine())
        line->endCap = iLineCapEnd;
}

void LineWidget::slot_LinePenStyle(int iLinePenStyle)
{
    if (ObjLine *line = currentLine())
        line->penStyle = Qt::SolidLine + iLinePenStyle;
}

void LineWidget::slot_StrokeShadow(bool bShadow)
{
    if (ObjLine *line = currentLine())
        line->shadow = bShadow ? 1 : 0;
}
