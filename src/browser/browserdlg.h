#pragma once

#include "widgets/fullscreendialog.h"

#include <QPointer>

class Browser;
class MainView;
class QTimer;
class ThumbnailBuilder;

// The page browser: every page of the canvas as a thumbnail over the whole
// screen. Page choices go out through signal_GotoPage (1-based), which the
// owner connects to whatever shows a page; moves and closes are carried out
// on the canvas here. Accepted by a double click on a page, rejected by a
// double click elsewhere, the close button or Escape.
class BrowserDlg : public FullScreenDialog
{
    Q_OBJECT
public:
    BrowserDlg(MainView *pView, QWidget *pParent = nullptr);

    Browser *browser() const { return list; }

Q_SIGNALS:
    void signal_GotoPage(int page);

public Q_SLOTS:
    void slot_StartBrowser();
    void slot_Browser_Close();
    void slot_Browser_Quit(bool bReject);
    void slot_Browser_Quit();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;

private:
    void choosePage(int page);
    void movePage(int from, int to);
    void showThumbnail(int row, const QImage &thumbnail);
    void stopBuilding();
    void stopTimer();

    MainView *view;
    Browser *list;
    QPointer<QTimer> timer;
    // Replaced at every build: thumbnails of an earlier build never arrive.
    ThumbnailBuilder *builder = nullptr;
    int chosen = 0;
};
