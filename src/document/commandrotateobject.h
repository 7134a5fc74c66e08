#pragma once

#include "pagecommand.h"

#include <QList>

class Obj;

// Turns the selected floating objects by a difference in degrees; angles are
// never wrapped, so undo lands exactly where the object was.
class CommandRotateObject : public PageCommand
{
public:
    CommandRotateObject(PageHost *pHost, float delta, QUndoCommand *pParent = nullptr);

    void redo() override;
    void undo() override;

private:
    void turn(float fBy);

    float delta;
    QList<Obj *> objects;
};
