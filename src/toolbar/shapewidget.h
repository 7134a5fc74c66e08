#pragma once

#include <QWidget>

class QButtonGroup;
class QGridLayout;

// The shape page: the kind of figure, pen style and shadow of the shape tool.
class ShapeWidget : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ShapeCount = 18;

    explicit ShapeWidget(QWidget *pParent);

    QButtonGroup *shapeGroup() const { return shapes; }

public Q_SLOTS:
    void slot_Shape(int iShapeType);
    void slot_ShapePenStyle(int iShapePenStyle);
    void slot_StrokeShadow(bool bShadow);

private:
    void addShapes(QGridLayout *pGrid, int &iRow, int iShapeType);

    QButtonGroup *shapes = nullptr;
};
