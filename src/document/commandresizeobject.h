#pragma once

#include "pagecommand.h"

#include <QList>
#include <QRectF>

class Obj;

// Gives the selected floating object a new rectangle (the select tool builds
// it only with exactly one object selected).
class CommandResizeObject : public PageCommand
{
public:
    CommandResizeObject(PageHost *pHost, const QRectF &oldRect, const QRectF &newRect,
                        QUndoCommand *pParent = nullptr);

    void redo() override;
    void undo() override;

private:
    void apply(const QRectF &r);

    QRectF oldRect;
    QRectF newRect;
    QList<Obj *> objects;
};
