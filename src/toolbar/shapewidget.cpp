#include "shapewidget.h"

#include "app/appstate.h"
#include "canvas/shapetool.h"
#include "canvas/toolkit.h"
#include "penstylerows.h"
#include "popupbuttons.h"
#include "widgets/lookcolours.h"
#include "widgets/popupwidgetbtn.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGridLayout>
#include <QPainter>

namespace {

ObjShape *currentShape()
{
    ToolKit &kit = ToolKit::instance();
    return kit.currentToolId() == ToolKit::Shape ? &kit.shapeTool()->shapeTemplate : nullptr;
}

// The figure's own outline, fitted into the icon with a small margin.
QPixmap shapePicture(int iShapeType, int ratio)
{
    const int side = PopupButtons::IconSide * ratio;
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    ObjShape shape;
    shape.shapeType = iShapeType;
    shape.rect = QRectF(2.5, 3.5, 19, 17);
    QPainterPath path;
    shape.buildPath(path);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(ratio, ratio);
    const bool contrast = LookColours::highContrast();
    painter.setPen(QPen(contrast ? LookColours::ink() : QColor(48, 48, 48), contrast ? 2 : 1.3,
                        Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    painter.setBrush(contrast ? LookColours::face() : QColor(255, 255, 255));
    painter.drawPath(path);
    return pixmap;
}

} // namespace

ShapeWidget::ShapeWidget(QWidget *pParent)
    : QWidget(pParent)
{
    const ObjShape &shape = ToolKit::instance().shapeTool()->shapeTemplate;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(AppState::instance().scaled(3));
    int row = 0;
    addShapes(grid, row, shape.shapeType);
    QButtonGroup *penStyles = PenStyleRows::addStyles(grid, row, shape.penStyle, this);
    QAbstractButton *shadow = PenStyleRows::addShadow(grid, row, shape.shadow, this);
    connect(penStyles, &QButtonGroup::idClicked, this, &ShapeWidget::slot_ShapePenStyle);
    connect(shadow, &QAbstractButton::clicked, this, &ShapeWidget::slot_StrokeShadow);
}

void ShapeWidget::addShapes(QGridLayout *pGrid, int &iRow, int iShapeType)
{
    PopupButtons::addLabel(pGrid, iRow, "Shape:", this);
    shapes = new QButtonGroup(this);
    for (int i = 0; i < ShapeCount; ++i) {
        QIcon icon(shapePicture(i, 1));
        icon.addPixmap(shapePicture(i, 2));
        auto *button = new PopupWidgetBtn(icon, PopupButtons::IconSide, this);
        pGrid->addWidget(button, iRow + i / PopupButtons::Columns, i % PopupButtons::Columns);
        shapes->addButton(button, i);
    }
    static constexpr const char *names[ShapeCount] = { "Ellipse",
                                                       "Rectangle",
                                                       "Rounded rectangle",
                                                       "Triangle",
                                                       "Right triangle",
                                                       "Diamond",
                                                       "Pentagon",
                                                       "Hexagon",
                                                       "Trapezoid",
                                                       "Parallelogram",
                                                       "Four-pointed star",
                                                       "Five-pointed star",
                                                       "Six-pointed star",
                                                       "Rounded speech bubble",
                                                       "Oval speech bubble",
                                                       "Arrow",
                                                       "Tick",
                                                       "Cross" };
    PopupButtons::nameRow(shapes, names, "Shape:");
    iRow += ShapeCount / PopupButtons::Columns;
    PopupButtons::check(shapes, iShapeType);
    connect(shapes, &QButtonGroup::idClicked, this, &ShapeWidget::slot_Shape);
}

void ShapeWidget::slot_Shape(int iShapeType)
{
    if (ObjShape *shape = currentShape())
        shape->shapeType = iShapeType;
}

void ShapeWidget::slot_ShapePenStyle(int iShapePenStyle)
{
    if (ObjShape *shape = currentShape())
        shape->penStyle = Qt::SolidLine + iShapePenStyle;
}

void ShapeWidget::slot_StrokeShadow(bool bShadow)
{
    if (ObjShape *shape = currentShape())
        shape->shadow = bShadow ? 1 : 0;
}
