#pragma once

#include <QUndoCommand>

class MainPage;
class PageHost;

// Base of the undo commands. A command acts only on the page that was current
// when it was built, which is the page whose stack holds it; that page and
// the host therefore outlive it.
class PageCommand : public QUndoCommand
{
protected:
    PageCommand(PageHost *pHost, QUndoCommand *pParent);

    PageHost *const host;
    MainPage *const page; // null when built without a page: then it does nothing
};
