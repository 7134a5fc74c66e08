#include "document.h"

#include "backgroundfiles.h"
#include "mainpage.h"
#include "platform/largeblocks.h"

#include <QFile>
#include <QUndoStack>

#include <algorithm>
#include <utility>

Document::Document(QObject *pParent)
    : QObject(pParent)
{
}

// The picture files stay: a session journal written for the next start
// names them.
Document::~Document()
{
    qDeleteAll(pages);
}

void Document::addPages(const QList<MainPage *> &added)
{
    if (added.isEmpty())
        return;
    Q_EMIT aboutToChange();
    LargeBlocks::returnWhenFreed();
    for (int i = 0; i < added.size(); ++i)
        pages.insert(number + i, added.at(i));
    makeCurrent(added.first(), number + 1);
}

void Document::insertPages(int index, const QList<MainPage *> &added)
{
    if (added.isEmpty())
        return;
    index = qBound(0, index, int(pages.size()));
    LargeBlocks::returnWhenFreed();
    for (int i = 0; i < added.size(); ++i)
        pages.insert(index + i, added.at(i));
    if (!current) {
        makeCurrent(added.first(), index + 1);
        return;
    }
    number = int(pages.indexOf(current)) + 1;
    Q_EMIT pagesChanged();
}

int Document::deleteCurrentPage()
{
    if (!current)
        return 0;
    Q_EMIT aboutToChange();
    const int deleted = number;
    MainPage *gone = pages.takeAt(number - 1);
    const int index = qMin(deleted - 1, int(pages.size()) - 1);
    makeCurrent(index >= 0 ? pages.at(index) : nullptr, index + 1);
    discard(gone);
    return deleted;
}

bool Document::gotoPage(int index)
{
    if (index + 1 == number)
        return false;
    Q_EMIT aboutToChange();
    if (index < 0 || index >= pages.size()) {
        Q_EMIT pagesChanged();
        return false;
    }
    makeCurrent(pages.at(index), index + 1);
    return true;
}

void Document::movePage(int from, int to)
{
    if (from < 0 || from >= pages.size() || to < 0 || to >= pages.size())
        return;
    pages.move(from, to);
    number = current ? int(pages.indexOf(current)) + 1 : 0;
    Q_EMIT pagesChanged();
}

void Document::clear()
{
    Q_EMIT aboutToChange();
    const QList<MainPage *> gone = std::exchange(pages, {});
    makeCurrent(nullptr, 0);
    for (MainPage *page : gone)
        discard(page);
}

bool Document::pushCommand(QUndoCommand *command)
{
    if (!current) {
        delete command;
        return false;
    }
    current->undoStack->push(command);
    afterHistoryChange();
    return true;
}

bool Document::undo()
{
    if (!current)
        return false;
    Q_EMIT aboutToChange();
    current->undoStack->undo();
    afterHistoryChange();
    return true;
}

bool Document::redo()
{
    if (!current)
        return false;
    Q_EMIT aboutToChange();
    current->undoStack->redo();
    afterHistoryChange();
    return true;
}

bool Document::canUndo() const
{
    return current && current->undoStack->canUndo();
}

bool Document::canRedo() const
{
    return current && current->undoStack->canRedo();
}

bool Document::isModified() const
{
    return std::any_of(pages.cbegin(), pages.cend(), [](MainPage *p) { return p->modified; });
}

void Document::setModified(bool bModified)
{
    for (MainPage *page : std::as_const(pages))
        page->modified = bModified;
}

void Document::setName(const QString &strName)
{
    if (strName == documentName)
        return;
    documentName = strName;
    Q_EMIT nameChanged(documentName);
}

void Document::makeCurrent(MainPage *page, int pageNumber)
{
    MainPage *left = std::exchange(current, page);
    number = pageNumber;
    Q_EMIT currentPageChanged(current, left);
    Q_EMIT pagesChanged();
    Q_EMIT undoStateChanged(canUndo(), canRedo());
}

void Document::discard(MainPage *page)
{
    Q_EMIT pageDiscarded(page->id);
    BackgroundFiles::instance().forget(page->id);
    if (page->background == MainPage::PictureBackground)
        QFile::remove(MainPage::backgroundFile(page->id));
    delete page;
}

// Any step through the history counts as a change, also one back to the
// saved state.
void Document::afterHistoryChange()
{
    current->modified = true;
    Q_EMIT undoStateChanged(canUndo(), canRedo());
}
