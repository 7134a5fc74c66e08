#pragma once

#include <QWidget>

class CloseBtn;

// The small panel of a full-screen desktop tool: a dark frame, a light inner
// area and a title strip with a close button. Mouse input on the panel never
// reaches the dialog beneath it.
class DesktopToolPanel : public QWidget
{
    Q_OBJECT
public:
    DesktopToolPanel(const QString &strTitle, QWidget *pParent);

    CloseBtn *closeButton() const { return close; }
    // The title painted in the strip (empty for none).
    QString titleText() const { return title; }
    // n × u, truncated.
    int unit(int n) const;
    // The height of the title strip.
    int stripHeight() const;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *pEvent) override;

private:
    QString title;
    CloseBtn *close;
};
