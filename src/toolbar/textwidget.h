#pragma once

#include <QWidget>

class ComboBox_ReadOnly;
class QButtonGroup;
class QFont;
class QGridLayout;

// The text page: bold, italic and underline, the alignment and the font
// family of the text tool.
class TextWidget : public QWidget
{
    Q_OBJECT
public:
    explicit TextWidget(QWidget *pParent);

    QButtonGroup *fontGroup() const { return fonts; }
    QButtonGroup *alignGroup() const { return aligns; }

public Q_SLOTS:
    void slot_Font(int iFont);
    void slot_Align(int iAlign);
    void slot_FontFamily(QString strFamily);

private:
    void addFamilies(QGridLayout *pGrid, int &iRow, const QFont &font);

    QButtonGroup *fonts = nullptr;
    QButtonGroup *aligns = nullptr;
    ComboBox_ReadOnly *families = nullptr;
};
