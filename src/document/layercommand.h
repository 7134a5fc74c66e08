#pragma once

#include "pagecommand.h"

#include <QRect>

// Base of the commands that change what is painted into the layer. The redo
// that runs inside the push only changes the page: whoever pushes has already
// painted the change, or repaints the whole page afterwards. Every later undo
// and redo re-renders and repaints the rectangle it touched.
class LayerCommand : public PageCommand
{
protected:
    using PageCommand::PageCommand;

    // Ends an undo or redo that changed what lies inside `dirty`.
    void finish(const QRect &dirty);

private:
    bool done = false;
};
