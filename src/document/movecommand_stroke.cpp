#include "movecommand_stroke.h"

#include "obj.h"

MoveCommand_Stroke::MoveCommand_Stroke(PageHost *pHost, Obj *obj, QPointF offset,
                                       QUndoCommand *pParent)
    : LayerCommand(pHost, pParent)
    , objects { obj }
    , offset(offset)
{
}

void MoveCommand_Stroke::redo()
{
    move(offset);
}

void MoveCommand_Stroke::undo()
{
    move(-offset);
}

void MoveCommand_Stroke::move(const QPointF &d)
{
    if (!page)
        return;
    QRect dirty;
    for (Obj *obj : std::as_const(objects)) {
        dirty |= obj->paintRect();
        obj->moveBy(d);
        dirty |= obj->paintRect();
    }
    finish(dirty);
}
