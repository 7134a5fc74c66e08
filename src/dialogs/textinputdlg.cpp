#include "textinputdlg.h"

#include "app/appstate.h"
#include "app/lang.h"
#include "numberwidget.h"
#include "stamppainter.h"
#include "widgets/colorbtn.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

namespace {

constexpr int NumberMode = 1;
constexpr int HighestNumber = 99;

QString translated(const char *strText)
{
    return Lang::tr("TextInput", QLatin1String(strText));
}

} // namespace

TextInputDlg::TextInputDlg(int iMode, bool bResetNumber, QWidget *pParent)
    : MainDialog(pParent)
    , mode(iMode == NumberMode ? NumberMode : 0)
{
    if (bResetNumber)
        AppState::instance().nextNumber = 1;
    buildControls();
    buildLayout();
    connectControls();
    // Typing goes straight into the text, not into the first check box.
    if (mode == NumberMode) {
        textEdit->hide();
        refreshPreview();
        setWindowTitle(translated("Number Input"));
        numberEdit->setFocus();
        numberEdit->selectAll();
    } else {
        numberEdit->hide();
        numberWidget->hide();
        setWindowTitle(translated("Text Input"));
        textEdit->setFocus();
        textEdit->installEventFilter(this);
    }
    Lang::release();
    setFixedSize(sizeHint());
}

TextStyle &TextInputDlg::style() const
{
    return AppState::instance().textStyles[mode];
}

void TextInputDlg::buildControls()
{
    const AppState &s = AppState::instance();
    const QFont &font = style().font;
    familyLabel = new QLabel(translated("Font Family:"), this);
    familyList = new QComboBox(this);
    familyList->addItems(QFontDatabase::families());
    familyList->setCurrentIndex(familyIndex(font));
    familyList->setMinimumWidth(s.scaled(170));

    sizeLabel = new QLabel(translated("Size:"), this);
    sizeList = new QComboBox(this);
    for (int size : { 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72 })
        sizeList->addItem(QString::number(size));
    sizeList->setCurrentIndex(sizeList->findText(QString::number(font.pointSize())));
    sizeList->setMinimumWidth(s.scaled(44));

    boldBox = new QCheckBox(translated("Bold"), this);
    boldBox->setChecked(font.weight() > QFont::Normal);
    italicBox = new QCheckBox(translated("Italic"), this);
    italicBox->setChecked(font.style() != QFont::StyleNormal);
    underlineBox = new QCheckBox(translated("Underline"), this);
    underlineBox->setChecked(font.underline());

    colorBtn = new ColorBtn(translated("Color"), this);
    colorBtn->setColor(style().textColor);
    borderBtn = new ColorBtn(translated("Border"), this);
    borderBtn->setColor(style().borderColor);

    textEdit = new QTextEdit(this);
    textEdit->setAcceptRichText(false);
    // Tab leaves the text for the next control: a keyboard user has no other
    // way out of it.
    textEdit->setTabChangesFocus(true);
    textEdit->setAccessibleName(Lang::tr("Accessible", QStringLiteral("Text to insert")));
    textEdit->setMinimumSize(s.scaled(480), s.scaled(180));
    numberWidget = new NumberWidget(this);
    numberWidget->setMinimumSize(s.scaled(480), s.scaled(160));
    numberEdit = new QLineEdit(this);
    numberEdit->setInputMask(QStringLiteral("99"));
    numberEdit->setMaxLength(2);
    numberEdit->setText(QString::number(s.nextNumber));

    buttonBox = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel,
                                     Qt::Horizontal, this);
    buttonBox->button(QDialogButtonBox::Ok)->setText(translated("OK"));
    buttonBox->button(QDialogButtonBox::Cancel)->setText(translated("Cancel"));
}

void TextInputDlg::buildLayout()
{
    grid = new QGridLayout(this);
    grid->addWidget(familyLabel, 0, 0, 1, 1, Qt::AlignRight);
    grid->addWidget(familyList, 0, 1, 1, 1, Qt::AlignLeft);
    grid->addWidget(sizeLabel, 0, 2, 1, 1, Qt::AlignRight);
    grid->addWidget(sizeList, 0, 3, 1, 1, Qt::AlignLeft);
    grid->addWidget(boldBox, 0, 4);
    grid->addWidget(italicBox, 0, 5);
    grid->addWidget(underlineBox, 0, 6);
    grid->addWidget(colorBtn, 0, 7);
    grid->addWidget(borderBtn, 0, 8);
    grid->addWidget(textEdit, 1, 0, 1, 9);
    grid->addWidget(numberWidget, 2, 0, 1, 9);
    grid->addWidget(numberEdit, 3, 0, 1, 9, Qt::AlignCenter);
    grid->addWidget(buttonBox, 4, 0, 1, 9, Qt::AlignRight);
}

void TextInputDlg::connectControls()
{
    connect(familyList, &QComboBox::currentIndexChanged, this,
            qOverload<int>(&TextInputDlg::slot_Font));
    connect(sizeList, &QComboBox::currentIndexChanged, this,
            qOverload<int>(&TextInputDlg::slot_Font));
    for (QCheckBox *box : { boldBox, italicBox, underlineBox })
        connect(box, &QCheckBox::clicked, this, qOverload<>(&TextInputDlg::slot_Font));
    connect(colorBtn, &ColorBtn::signal_Color, this, &TextInputDlg::slot_Color);
    connect(borderBtn, &ColorBtn::signal_Color, this, &TextInputDlg::slot_Border);
    connect(numberEdit, &QLineEdit::textChanged, this, &TextInputDlg::slot_LineEdit);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

// The family shown: the style's own, or else the one that stands in for it
// when it is not installed, never a blank box.
int TextInputDlg::familyIndex(const QFont &font) const
{
    const Qt::MatchFlags exact = Qt::MatchExactly | Qt::MatchCaseSensitive;
    const int own = familyList->findText(font.family(), exact);
    return own >= 0 ? own : familyList->findText(QFontInfo(font).family(), exact);
}

// Return makes a new line in the text; Ctrl+Return accepts, as OK does.
bool TextInputDlg::eventFilter(QObject *pWatched, QEvent *pEvent)
{
    if (pWatched == textEdit && pEvent->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(pEvent);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && key->modifiers().testFlag(Qt::ControlModifier)) {
            accept();
            return true;
        }
    }
    return MainDialog::eventFilter(pWatched, pEvent);
}

QString TextInputDlg::text() const
{
    return mode == NumberMode ? numberEdit->text() : textEdit->toPlainText();
}

// A list without a current item (a family not installed, a size not listed)
// keeps that part of the style instead of making an unusable font.
QFont TextInputDlg::currentFont()
{
    QFont font = style().font;
    // A stand-in family shown for a missing one leaves the style's family.
    if (familyList->currentIndex() >= 0 && familyList->currentIndex() != familyIndex(font))
        font.setFamily(familyList->currentText());
    bool isNumber = false;
    const int size = sizeList->currentText().toInt(&isNumber);
    if (isNumber && size > 0)
        font.setPointSize(size);
    font.setWeight(boldBox->isChecked() ? QFont::Bold : QFont::Normal);
    font.setItalic(italicBox->isChecked());
    font.setUnderline(underlineBox->isChecked());
    style().font = font;
    return font;
}

QPixmap TextInputDlg::textPixmap() const
{
    return StampPainter::textPixmap(text(), style());
}

QPixmap TextInputDlg::numberPixmap(int iIncrement)
{
    const QPixmap picture = StampPainter::numberPixmap(text(), style());
    if (iIncrement != 0) {
        const int next = text().toInt() + iIncrement;
        AppState::instance().nextNumber = next > HighestNumber ? 0 : next;
    }
    return picture;
}

void TextInputDlg::slot_Font(int)
{
    slot_Font();
}

void TextInputDlg::slot_Font()
{
    currentFont();
    refreshPreview();
}

void TextInputDlg::slot_Color(QColor)
{
    style().textColor = colorBtn->color();
    refreshPreview();
}

void TextInputDlg::slot_Border(QColor)
{
    style().borderColor = borderBtn->color();
    refreshPreview();
}

void TextInputDlg::slot_LineEdit(QString)
{
    refreshPreview();
}

void TextInputDlg::refreshPreview()
{
    if (mode == NumberMode)
        numberWidget->setPixmap(numberPixmap(0));
}
