#pragma once

#include "widgets/maindialog.h"

#include <QColor>
#include <QFont>
#include <QPixmap>

class ColorBtn;
class NumberWidget;
class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QTextEdit;
struct TextStyle;

// Asks for a text (mode 0) or a number (mode 1) and its style, and turns it
// into a picture to stamp. The style controls change the process-wide style
// of the mode at once, so a change outlives a cancelled dialog.
class TextInputDlg : public MainDialog
{
    Q_OBJECT
public:
    // With bResetNumber the next number starts again at 1.
    TextInputDlg(int iMode, bool bResetNumber, QWidget *pParent = nullptr);

    // The number field's text in number mode, else the text field's.
    QString text() const;
    QFont currentFont();
    QPixmap textPixmap() const;
    // With a non-zero iIncrement the next number becomes this one plus
    // iIncrement, and 0 after 99.
    QPixmap numberPixmap(int iIncrement);

public Q_SLOTS:
    void slot_Font(int iIndex);
    void slot_Font();
    void slot_Color(QColor colour);
    void slot_Border(QColor colour);
    void slot_LineEdit(QString strText);

protected:
    bool eventFilter(QObject *pWatched, QEvent *pEvent) override;

private:
    TextStyle &style() const;
    int familyIndex(const QFont &font) const;
    void buildControls();
    void buildLayout();
    void connectControls();
    void refreshPreview();

    QLabel *familyLabel;
    QComboBox *familyList;
    QLabel *sizeLabel;
    QComboBox *sizeList;
    QCheckBox *boldBox;
    QCheckBox *italicBox;
    QCheckBox *underlineBox;
    ColorBtn *colorBtn;
    ColorBtn *borderBtn;
    QTextEdit *textEdit;
    NumberWidget *numberWidget;
    QLineEdit *numberEdit;
    QDialogButtonBox *buttonBox;
    QGridLayout *grid;
    int mode;
};
