#pragma once

#include <QToolButton>

// The checkable icon button of every option panel and desktop-tool panel.
// Tab reaches it and a click does not focus it; Return chooses it like Space,
// and the arrows are left to the panel, which walks its grid with them.
class PopupWidgetBtn : public QToolButton
{
    Q_OBJECT
public:
    // strPicture: a resource picture, shown at iBaseSide (scaled for the
    // screen) inside a slightly larger button.
    PopupWidgetBtn(const QString &strPicture, int iBaseSide, QWidget *pParent);
    // A button showing a ready-made icon (colour swatches, shape outlines).
    PopupWidgetBtn(const QIcon &icon, int iBaseSide, QWidget *pParent);

    // Shows strText beside the icon; the button then keeps only its height
    // fixed, so that a column of such entries lines up.
    void setCaption(const QString &strText);

protected:
    void keyPressEvent(QKeyEvent *pEvent) override;
    void paintEvent(QPaintEvent *pEvent) override;
};
