#include "texteditwidget.h"

#include "mytextedit.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTextDocument>

#include <cmath>

TextEditWidget::TextEditWidget(const QFont &font, const QString &strText, QWidget *pParent)
    : QWidget(pParent)
    , edit(new MyTextEdit(this))
{
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->addWidget(edit);
    edit->setFont(font);
    edit->document()->setDefaultFont(font);
    edit->setPlainText(strText);
    connect(edit->document(), &QTextDocument::contentsChanged, this, &TextEditWidget::fitText);
    fitText();
}

void TextEditWidget::setAlignment(int alignment)
{
    edit->setAlignment(Qt::Alignment(alignment));
}

void TextEditWidget::setFontPointSize(int size)
{
    edit->setFontPointSize(size);
    fitText();
}

void TextEditWidget::setTextColor(const QColor &colour)
{
    edit->setTextColor(colour);
}

void TextEditWidget::focusText()
{
    edit->setFocus();
}

QTextDocument *TextEditWidget::document() const
{
    return edit->toPlainText().isEmpty() ? nullptr : edit->document();
}

void TextEditWidget::fitText()
{
    // An empty line still needs room for the caret at the current size.
    const QFontMetrics metrics(edit->currentFont());
    const QSizeF text = edit->document()->size();
    const int w = std::max(int(std::ceil(text.width())), metrics.height()) + 2;
    const int h = std::max(int(std::ceil(text.height())), metrics.height());
    edit->setFixedSize(w, h);
    resize(w + 2 * margin, h + 2 * margin);
}

void TextEditWidget::mousePressEvent(QMouseEvent *pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        grabOffset = pEvent->position().toPoint();
}

void TextEditWidget::mouseMoveEvent(QMouseEvent *pEvent)
{
    if (pEvent->buttons() == Qt::LeftButton)
        move(mapToParent(pEvent->position().toPoint()) - grabOffset);
}

void TextEditWidget::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(QPen(QColor(120, 120, 120), 1, Qt::DashLine));
    painter.drawRect(rect().adjusted(margin / 2, margin / 2, -margin / 2 - 1, -margin / 2 - 1));
}
