#include "strokewidget.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "canvas/shapetool.h"
#include "canvas/texttool.h"
#include "canvas/tooldial.h"
#include "canvas/toolkit.h"
#include "palettebuttons.h"
#include "panelhost.h"
#include "popupbuttons.h"
#include "popupwidget.h"
#include "toolwidget.h"
#include "widgets/lookcolours.h"
#include "widgets/popupwidgetbtn.h"
#include "widgets/separator.h"
#include "widgets/smalllabel.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QPainter>
#include <QSlider>

namespace {

constexpr int PresetCount = 6;
constexpr int PresetPicture = 40;
constexpr int PenPresets[PresetCount] = { 1, 3, 5, 10, 20, 30 };
constexpr int EraserPresets[PresetCount] = { 30, 60, 90, 120, 150, 180 };
constexpr int TextPresets[PresetCount] = { 8, 16, 24, 32, 48, 72 };

const int *presetsOf(int iTool)
{
    if (iTool == ToolKit::Eraser)
        return EraserPresets;
    return iTool == ToolKit::Text ? TextPresets : PenPresets;
}

// A circle as wide as the stroke (the eraser's, a fifth of it, so that its
// large sizes fit the picture too), but never smaller than a visible dot that
// grows with the preset's place; the value stands in the corner, since the
// thinnest widths would otherwise look alike.
QPixmap presetPicture(int preset, int index, bool bEraser, int ratio)
{
    constexpr double Centre = 17.0;
    const double natural = (bEraser ? preset / 5 : preset / 2) + 1;
    const double diameter = qMin(qMax(natural, 5.0 + 2 * index), 2 * Centre - 2);
    QPixmap pixmap(PresetPicture * ratio, PresetPicture * ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    const QRectF circle(Centre - diameter / 2, Centre - diameter / 2, diameter, diameter);
    const bool contrast = LookColours::highContrast();
    QLinearGradient gradient(circle.topLeft(), circle.bottomRight());
    gradient.setColorAt(0, Qt::white);
    gradient.setColorAt(1, QColor(210, 210, 210));
    painter.setPen(contrast ? QPen(LookColours::ink(), 2) : QPen(QColor(120, 120, 120), 1));
    painter.setBrush(contrast ? QBrush(LookColours::face()) : QBrush(gradient));
    painter.drawEllipse(circle);
    QFont font = painter.font();
    font.setPixelSize(10);
    font.setBold(contrast);
    painter.setFont(font);
    painter.setPen(contrast ? LookColours::ink() : QColor(60, 60, 60));
    painter.drawText(QRectF(0, 0, PresetPicture - 1, PresetPicture - 1),
                     Qt::AlignRight | Qt::AlignBottom, QString::number(preset));
    return pixmap;
}

int currentTool()
{
    return ToolKit::instance().currentToolId();
}

} // namespace

StrokeWidget::StrokeWidget(int iForTool, QWidget *pParent)
    : QWidget(pParent)
    , iTool(iForTool)
{
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(AppState::instance().scaled(3));
    int row = 0;
    addPresets(grid, row);
    addWidthSlider(grid, row);
    if (iTool != ToolKit::Eraser)
        addColours(grid, row);
    if (iTool == ToolKit::Shape || iTool == ToolKit::Text)
        addOpacitySlider(grid, row);
    Lang::release();
    refresh();
}

int StrokeWidget::presetValue(int id) const
{
    return (id >= 0 && id < PresetCount) ? presetsOf(iTool)[id] : 0;
}

void StrokeWidget::addPresets(QGridLayout *pGrid, int &iRow)
{
    presets = new QButtonGroup(this);
    for (int i = 0; i < PresetCount; ++i) {
        const bool eraser = iTool == ToolKit::Eraser;
        QIcon icon(presetPicture(presetValue(i), i, eraser, 1));
        icon.addPixmap(presetPicture(presetValue(i), i, eraser, 2));
        auto *button = new PopupWidgetBtn(icon, PresetPicture, this);
        button->setToolTip(QString::number(presetValue(i)));
        // Three to a row, each spanning two palette columns.
        pGrid->addWidget(button, iRow + i / 3, (i % 3) * 2, 1, 2, Qt::AlignCenter);
        presets->addButton(button, i);
    }
    iRow += 2;
    connect(presets, &QButtonGroup::idClicked, this, &StrokeWidget::slot_StrokeWidth);
}

QSlider *StrokeWidget::addSlider(QGridLayout *pGrid, int &iRow, const char *pLow, const char *pHigh)
{
    const AppState &s = AppState::instance();
    auto *row = new QHBoxLayout;
    auto *slider = new QSlider(Qt::Horizontal, this);
    slider->setStyleSheet(QStringLiteral("QSlider::groove:horizontal {height: %1px;} "
                                         "QSlider::handle:horizontal {width: %2px; margin: "
                                         "-%3px 0;}")
                              .arg(s.scaled(4))
                              .arg(s.scaled(10))
                              .arg(s.scaled(4)));
    slider->setFocusPolicy(Qt::TabFocus);
    row->addWidget(new SmallLabel(Lang::tr("PopupWidget", QLatin1String(pLow)), this));
    row->addWidget(slider, 1);
    row->addWidget(new SmallLabel(Lang::tr("PopupWidget", QLatin1String(pHigh)), this));
    pGrid->addLayout(row, iRow++, 0, 1, PopupButtons::Columns);
    return slider;
}

void StrokeWidget::addWidthSlider(QGridLayout *pGrid, int &iRow)
{
    width = addSlider(pGrid, iRow, "Small", "Large");
    width->setAccessibleName(Lang::single("Accessible", QStringLiteral("Width")));
    width->setTickPosition(QSlider::TicksAbove);
    const ToolDial::Setting dial = ToolDial::forTool(iTool);
    width->setRange(dial.minimum, dial.maximum);
    connect(width, &QSlider::sliderMoved, this, &StrokeWidget::slot_StrokeWidth_Slider);
}

void StrokeWidget::addColours(QGridLayout *pGrid, int &iRow)
{
    pGrid->addWidget(new Separator(false, this), iRow++, 0, 1, PopupButtons::Columns);
    colours = new PaletteButtons(pGrid, iRow, this);
    auto *more
        = PopupButtons::actionButton(QStringLiteral(":/Popup/MoreColor"), "More Colors...", this);
    auto *picker
        = PopupButtons::actionButton(QStringLiteral(":/Popup/Picker"), "Color Picker", this);
    colours->append(more);
    colours->append(picker);
    iRow += 4;
    connect(colours, &QButtonGroup::idClicked, this, &StrokeWidget::slot_StrokeColor);
    connect(more, &QAbstractButton::clicked, this, &StrokeWidget::slot_MoreColor);
    connect(picker, &QAbstractButton::clicked, this, &StrokeWidget::slot_PickerColor);
}

void StrokeWidget::addOpacitySlider(QGridLayout *pGrid, int &iRow)
{
    opacity = addSlider(pGrid, iRow, "0 %", "100 %");
    opacity->setAccessibleName(Lang::single("Accessible", QStringLiteral("Opacity")));
    opacity->setRange(0, 100);
    const ToolKit &kit = ToolKit::instance();
    opacity->setValue(iTool == ToolKit::Shape ? kit.shapeTool()->shapeTemplate.opacity
                                              : kit.textTool()->textTemplate.opacity);
    connect(opacity, &QSlider::sliderMoved, this, &StrokeWidget::slot_StrokeOpacity_Slider);
}

void StrokeWidget::refresh()
{
    const ToolDial::Setting dial = ToolDial::forTool(iTool);
    int checked = -1;
    for (int i = 0; i < PresetCount; ++i)
        if (presetValue(i) == dial.value)
            checked = i;
    PopupButtons::check(presets, checked);
    width->setValue(dial.value);
    if (colours)
        colours->showColour(dial.colour);
}

void StrokeWidget::slot_StrokeWidth(int iWidth)
{
    const int value = presetValue(iWidth);
    if (PanelHost *host = PanelHost::current())
        host->changeDrawToolWidth(value);
    // The tool may have taken less than the preset (its range ends lower).
    refresh();
    emit signal_StrokeChanged();
}

void StrokeWidget::slot_StrokeWidth_Slider(int value)
{
    const int tool = currentTool();
    if (!ToolDial::setWidth(tool, value))
        return;
    if (PanelHost *host = PanelHost::current()) {
        const ToolDial::Setting dial = ToolDial::forTool(tool);
        host->showDial(dial.value, dial.minimum, dial.maximum);
    }
    refresh();
    emit signal_StrokeChanged();
}

void StrokeWidget::slot_StrokeColor(int iColor)
{
    if (PanelHost *host = PanelHost::current())
        host->changeDrawToolColor(colours->colour(iColor));
    emit signal_StrokeChanged();
}

void StrokeWidget::slot_MoreColor()
{
    QColor chosen;
    // The panel may be gone once the dialog has run: only locals after it.
    if (PanelHost::askColour(this, ToolDial::forTool(iTool).colour, chosen))
        if (PanelHost *host = PanelHost::current())
            host->changeDrawToolColor(chosen);
}

void StrokeWidget::slot_PickerColor()
{
    if (PopupWidget *transient = PopupWidget::transientOf(this))
        transient->close();
    if (PanelHost *host = PanelHost::current())
        host->selectTools(41);
}

void StrokeWidget::slot_StrokeOpacity_Slider(int iOpacity)
{
    ToolDial::setOpacity(currentTool(), iOpacity);
}
