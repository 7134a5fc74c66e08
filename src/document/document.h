#pragma once

#include <QList>
#include <QObject>
#include <QString>

class MainPage;
class QUndoCommand;

// The pages being worked on, which of them is current, the document's name
// and whether anything changed since it was last saved. The document owns its
// pages; a page deleted or cleared away takes its picture file with it. Every
// change that can leave a tool's gesture pointing at gone objects is
// announced first by aboutToChange(), so that the tools can drop what they
// hold.
class Document : public QObject
{
    Q_OBJECT
public:
    explicit Document(QObject *pParent = nullptr);
    ~Document() override;

    int pageCount() const { return int(pages.size()); }
    // From 1; 0 when there is no page.
    int currentPageNumber() const { return number; }
    MainPage *currentPage() const { return current; }
    const QList<MainPage *> &pageList() const { return pages; }

    // Takes `added` after the current page; the first of them becomes
    // current, as a document is read from its start.
    void addPages(const QList<MainPage *> &added);
    // Takes `added` at `index` and leaves the current page as it is: pages
    // that arrive while the user works on others.
    void insertPages(int index, const QList<MainPage *> &added);
    // Deletes the current page; its neighbour (the next, else the previous)
    // becomes current. Returns the deleted page's number, 0 for none.
    int deleteCurrentPage();
    bool gotoPage(int index);
    void movePage(int from, int to);
    void clear();

    // The current page's history. A push without a current page deletes the
    // command and answers false.
    bool pushCommand(QUndoCommand *command);
    bool undo();
    bool redo();
    bool canUndo() const;
    bool canRedo() const;

    bool isModified() const;
    void setModified(bool bModified);
    // Shown before the page numbers; empty for a document never saved.
    QString name() const { return documentName; }
    void setName(const QString &strName);

Q_SIGNALS:
    void aboutToChange();
    // A page became current (null: none is left); `left` is still alive.
    void currentPageChanged(MainPage *page, MainPage *left);
    // The number or order of the pages changed.
    void pagesChanged();
    void undoStateChanged(bool bCanUndo, bool bCanRedo);
    void nameChanged(const QString &strName);
    // About to delete a page: whatever holds on to it by id lets go.
    void pageDiscarded(int pageId);

private:
    void makeCurrent(MainPage *page, int pageNumber);
    void discard(MainPage *page);
    void afterHistoryChange();

    QList<MainPage *> pages;
    MainPage *current = nullptr;
    int number = 0;
    QString documentName;
};
