#pragma once

#include <QWidget>

class CaptureDlg;

// The capture dialog's output panel: close, then capture as a new page, as a
// file or to the clipboard. It keeps the mouse to itself so that clicks on it
// never reach the dialog's marking.
class CaptureOptionWidget : public QWidget
{
    Q_OBJECT
public:
    explicit CaptureOptionWidget(CaptureDlg *pDialog);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent *pEvent) override;
};
