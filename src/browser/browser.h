#pragma once

#include <QListView>

class BrowserModel;

// The grid of page thumbnails. A press shows the page, a drag onto another
// thumbnail moves the page there, the close icon closes it and a double
// click leaves. Input is ignored while the thumbnails are being built.
class Browser : public QListView
{
    Q_OBJECT
public:
    Browser(const QString &strWord, QWidget *pParent);

    static QColor backgroundColour();
    static QColor textColour();

    BrowserModel *browserModel() const { return model; }
    // "Page n" in the current language.
    QString pageLabel(int number) const;
    void renumber();

    bool isActive() const { return active; }
    void setActive(bool bActive) { active = bActive; }

Q_SIGNALS:
    void signal_GotoPage(int page);
    void signal_ClosePage();
    void signal_QuitBrowser(bool reject);
    // A thumbnail was dropped elsewhere: the page at index `from` goes to `to`.
    void signal_MovePage(int from, int to);

protected:
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
    // Return opens the current page and closes the browser, Delete asks to
    // close the page, Ctrl with an arrow moves it one place.
    void keyPressEvent(QKeyEvent *pEvent) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *pEvent) override;
    void dragMoveEvent(QDragMoveEvent *pEvent) override;
    void dropEvent(QDropEvent *pEvent) override;

private:
    bool onDeleteIcon(const QPoint &pos) const;
    void confirmClose(int row);
    void movePage(int from, int to);

    bool active = false;
    bool deletePressed = false;
    BrowserModel *model;
    QString word;
};
