#include "textwidget.h"

#include "app/appstate.h"
#include "canvas/texttool.h"
#include "canvas/toolkit.h"
#include "popupbuttons.h"
#include "widgets/combobox_readonly.h"
#include "widgets/popupwidgetbtn.h"

#include <QButtonGroup>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>

namespace {

constexpr int Alignments[] = { Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight };

ObjText *currentText()
{
    ToolKit &kit = ToolKit::instance();
    return kit.currentToolId() == ToolKit::Text ? &kit.textTool()->textTemplate : nullptr;
}

} // namespace

TextWidget::TextWidget(QWidget *pParent)
    : QWidget(pParent)
{
    const ObjText &text = ToolKit::instance().textTool()->textTemplate;
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(AppState::instance().scaled(3));
    fonts = new QButtonGroup(this);
    fonts->setExclusive(false);
    aligns = new QButtonGroup(this);
    for (int i = 0; i < 6; ++i) {
        auto *button = new PopupWidgetBtn(QStringLiteral(":/Popup/Text%1").arg(i + 1),
                                          PopupButtons::IconSide, this);
        grid->addWidget(button, 0, i);
        (i < 3 ? fonts : aligns)->addButton(button, i % 3);
    }
    static constexpr const char *fontNames[] = { "Bold", "Italic", "Underline" };
    static constexpr const char *alignNames[] = { "Align left", "Centre", "Align right" };
    PopupButtons::nameRow(fonts, fontNames, nullptr);
    PopupButtons::nameRow(aligns, alignNames, nullptr);
    fonts->button(0)->setChecked(text.font.weight() > QFont::Normal);
    fonts->button(1)->setChecked(text.font.style() != QFont::StyleNormal);
    fonts->button(2)->setChecked(text.font.underline());
    for (int i = 0; i < 3; ++i)
        aligns->button(i)->setChecked(text.alignment == Alignments[i]);
    int row = 1;
    addFamilies(grid, row, text.font);
    connect(fonts, &QButtonGroup::idClicked, this, &TextWidget::slot_Font);
    connect(aligns, &QButtonGroup::idClicked, this, &TextWidget::slot_Align);
}

void TextWidget::addFamilies(QGridLayout *pGrid, int &iRow, const QFont &font)
{
    PopupButtons::addLabel(pGrid, iRow, "Font Family:", this);
    families = new ComboBox_ReadOnly(this);
    const QStringList names = QFontDatabase::families();
    families->addItems(names);
    // A family this machine lacks is drawn in the one that stands in for it:
    // that is the family to show.
    families->setCurrentText(names.contains(font.family()) ? font.family()
                                                           : QFontInfo(font).family());
    pGrid->addWidget(families, iRow++, 0, 1, PopupButtons::Columns);
    connect(families, &QComboBox::currentTextChanged, this, &TextWidget::slot_FontFamily);
}

void TextWidget::slot_Font(int iFont)
{
    ObjText *text = currentText();
    if (!text)
        return;
    QFont &font = text->font;
    if (iFont == 0)
        font.setWeight(font.weight() <= QFont::Normal ? QFont::Bold : QFont::Normal);
    else if (iFont == 1)
        font.setStyle(font.style() == QFont::StyleNormal ? QFont::StyleItalic : QFont::StyleNormal);
    else
        font.setUnderline(!font.underline());
}

void TextWidget::slot_Align(int iAlign)
{
    if (ObjText *text = currentText())
        text->alignment = Alignments[qBound(0, iAlign, 2)];
}

void TextWidget::slot_FontFamily(QString strFamily)
{
    if (ObjText *text = currentText())
        text->font.setFamily(strFamily);
}
