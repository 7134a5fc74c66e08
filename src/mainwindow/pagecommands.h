#pragma once

#include <QObject>

class MainWindow;

// The commands on the document's pages: new, duplicate, close, clear, undo
// and redo, turning pages, the page browser and the save choices. From the
// desktop, a command on existing pages brings the drawing window back.
class PageCommands : public QObject
{
    Q_OBJECT
public:
    explicit PageCommands(MainWindow *pWindow);

    void newPage();
    void newFullScreenCapture();
    void duplicatePage();
    void closePage();
    void closeAll();
    void undo();
    void redo();
    void clearPage();
    void pageUp();
    void pageDown();
    void backToLastPage();
    void gotoPage(int iPage);
    void selectOpPage(int iOpPage);
    void selectSave(int iSave);
    void browse();

private:
    // Whether there is a page; from the desktop, also brings it back.
    bool reachPage();
    bool confirm(const QString &strText, const QString &strInformative);

    MainWindow *window;
};
