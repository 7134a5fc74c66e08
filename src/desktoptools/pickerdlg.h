#pragma once

#include "widgets/fullscreendialog.h"

#include <QColor>
#include <QImage>
#include <QPixmap>

class PickerOptionWidget;
class QTimer;
class SettledAnnouncement;

// The colour picker: a still picture of the screen with a panel showing the
// colour under the pointer. As a tool of its own every left click copies the
// colour to the clipboard as a numbered line of text; in pick-and-close mode
// the first left click ends the dialog with result 1 and the caller reads
// pickedColor(). Cancelling gives result 0.
class PickerDlg : public FullScreenDialog
{
    Q_OBJECT
public:
    // pScreenImage: the still picture of the screen the dialog covers.
    PickerDlg(QPixmap *pScreenImage, bool bPickAndClose, QWidget *pParent);

    QColor pickedColor() const { return QColor(colour); }
    // The sampled pixel of the screen picture.
    QPoint point() const { return pixel; }
    // The sampled colour as a reader speaks it once the pointer rests: its
    // name in words, then its hexadecimal code.
    QString spokenColour() const;

public Q_SLOTS:
    void slot_StoreRgbInfoToClipboard();
    void slot_ShowClipboardTimeOut();

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void keyReleaseEvent(QKeyEvent *pEvent) override;

private:
    // What a left click does: copy the colour, or pick it and close.
    void pick();
    void sample(const QPoint &imagePixel);
    QPoint toImage(const QPointF &dialogPoint) const;
    QRect noticeArea() const;

    QPixmap *screenImage;
    // Read once: converting the pixmap for every pointer move would cost a
    // copy of the whole screen each time.
    QImage still;
    QPoint pixel;
    QRgb colour = 0;
    PickerOptionWidget *panel;
    bool pickAndClose;
    int copyCount = 0;
    QString copiedText;
    int noticeCountdown = 0;
    QTimer *noticeTimer;
    QPixmap notice;
    SettledAnnouncement *announcement;
};
