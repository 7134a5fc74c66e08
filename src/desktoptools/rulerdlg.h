#pragma once

#include <QDialog>
#include <QPointer>

class CloseBtn;
class CreateBtn;
class MenuBtn;
class PlaceKeeper;
class RulerView;
class SettledAnnouncement;

// A ruler on the screen: tick marks along both long edges in one of five
// units, a marker dragged along it that reads the distance from the start
// edge, an enlarged view of the pixels under the marker while it moves.
// In desktop mode any number of rulers float on their own and ask the main
// window (through signals) to close them or add another; in drawing mode one
// runs modally over the main window and closes itself.
class RulerDlg : public QDialog
{
    Q_OBJECT
public:
    static constexpr int MinLength = 60;
    static constexpr int GripLength = 24;
    static constexpr int EndGap = 10; // the marker stops this far before the end

    // bModeless: a desktop-mode ruler (pParent normally null); otherwise a
    // modal ruler over pParent, the main window, run with exec().
    RulerDlg(bool bVertical, bool bModeless, QWidget *pParent = nullptr);
    ~RulerDlg() override;

    bool isVertical() const { return vertical; }
    int units() const { return unit; }
    int dpi() const { return dotsPerInch; }
    bool isLight() const { return light; }
    int opacityPercent() const { return opacity; }
    int marker() const { return markerPos; }
    int length() const;
    int thickness() const;
    RulerView *view() const;
    // Orientation, place and length in the ruler's unit, as a reader speaks
    // them once they stop changing.
    QString spokenRuler() const;

Q_SIGNALS:
    // Desktop mode: the main window removes and deletes this ruler.
    void signal_DeleteRuler(QWidget *pRuler);
    // Desktop mode: the main window opens another ruler of this orientation.
    void signal_CreateRuler(bool bVertical);

public Q_SLOTS:
    void slot_UpdateLang();
    void slot_Close();
    void slot_Create();
    void slot_Preferences();
    void slot_ChangeUnits(int iUnit);
    void slot_ChangeDpi(int iDpi);
    void slot_ChangeColor(int iColor);
    void slot_ChangeLayout(int iLayout);
    void slot_ChangeOpacity(const QString &strOpacity);

protected:
    void paintEvent(QPaintEvent *pEvent) override;
    void mousePressEvent(QMouseEvent *pEvent) override;
    void mouseMoveEvent(QMouseEvent *pEvent) override;
    void mouseReleaseEvent(QMouseEvent *pEvent) override;
    void keyPressEvent(QKeyEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;

private:
    void createButtons();
    void layOut();
    QRect area() const;
    void dismiss();
    void setButtonsVisible(bool bVisible);

    // Coordinates along and across the ruler, whatever its orientation.
    int along(const QPoint &p) const { return vertical ? p.y() : p.x(); }
    int across(const QPoint &p) const { return vertical ? p.x() : p.y(); }
    QRect oriented(int iAlong, int iAcross, int iLength, int iDepth) const;
    QPoint orientedPoint(int iAlong, int iAcross) const;

    bool inGripStrip(const QPoint &p) const;
    QRect markerSquare(int iSide) const;
    void resizeTo(const QPoint &p);
    // Keeps the ruler's depth; never shorter than MinLength.
    void setLength(int iLength);
    void measureAt(const QPoint &p, const QPoint &global);
    void placeView(const QPoint &global, int iOut);
    void moveTo(const QPoint &topLeft);
    void learnPlace(const QMouseEvent *pEvent);
    void setIdleCursor(const QPoint &p);

    void paintBody(QPainter &painter) const;
    void paintScale(QPainter &painter) const;
    void paintMarker(QPainter &painter) const;
    void paintGrips(QPainter &painter) const;
    QPixmap half(const QString &strPath) const;

    int unit;
    int dotsPerInch;
    bool light;
    bool vertical;
    bool modeless;
    int opacity;
    PlaceKeeper *keeper;
    SettledAnnouncement *announcement;
    bool pressed = false;
    QPoint pressPoint;
    bool resizing = false;
    int widthAtPress = 0;
    int heightAtPress = 0;
    bool measuring = false;
    int markerPos = 0;
    QPointer<RulerView> rulerView;
    CloseBtn *closeBtn = nullptr;
    CreateBtn *createBtn = nullptr;
    MenuBtn *preferencesBtn = nullptr;
};
