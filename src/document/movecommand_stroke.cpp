#include "movecommand_stroke.h"

#include "obj.h"

MoveCommand_Stroke::MoveCommand_Stroke(PageHost *host, Obj *obj, QPointF offset,
                                       QUndoCommand *parent)
    : LayerCommand(host, parent)
    , m_objects { obj }
    , m_offset(offset)
{
}

void MoveCommand_Stroke::redo()
{
    move(m_offset);
}

void MoveCommand_Stroke::undo()
{
    move(-m_offset);
}

void MoveCommand_Stroke::move(const QPointF &d)
{
    if (!m_page)
        return;
    QRect dirty;
    for (Obj *obj : std::as_const(m_objects)) {
        dirty |= obj->paintRect();
        obj->moveBy(d);
        dirty |= obj->paintRect();
    }
    finish(dirty);
}
