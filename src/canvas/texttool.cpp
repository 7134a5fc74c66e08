#include "texttool.h"

#include "document/addcommand.h"
#include "mainview.h"
#include "texteditwidget.h"

#include <QImage>
#include <QPainter>
#include <QTextDocument>

TextTool::~TextTool()
{
    delete editor;
}

TextEditWidget *TextTool::textEditor() const
{
    return editor;
}

void TextTool::mousePress(MainView *view, const QPointF &pt, QInputEvent *event)
{
    Tool::mousePress(view, pt, event);
    if (!onlyButton(event, true))
        return;
    gesture().pressed = true;
    if (!editor)
        openEditor(view, pt);
    else if (!editor->document())
        reset();
    else
        commit(view);
}

void TextTool::openEditor(MainView *view, const QPointF &pt)
{
    editor = new TextEditWidget(textTemplate.font, QString(), view);
    editor->setAlignment(textTemplate.alignment);
    editor->setFontPointSize(textTemplate.font.pointSize());
    editor->setTextColor(textTemplate.colour);
    editor->move(view->toView(pt).toPoint());
    editor->show();
    editor->focusText();
}

void TextTool::commit(MainView *view)
{
    const int m = TextEditWidget::margin;
    const QRect box = editor->geometry();
    // The editor sits on the view; the text keeps its size on the page.
    const QPointF at = view->toPage(box.topLeft());
    textTemplate.rect = QRectF(at.x() + m, at.y() + m, box.width() - 2 * m, box.height() - 2 * m);
    textTemplate.centre = textTemplate.rect.center();
    textTemplate.setDocument(editor->document()->clone());
    reset();
    if (QImage *layer = view->layer()) {
        QPainter painter(layer);
        textTemplate.paint(&painter);
    }
    textTemplate.update(view);
    view->pushCommand(new AddCommand(view, textTemplate.clone()));
}

void TextTool::mouseDoubleClick(MainView *view, const QPointF &pt, QInputEvent *event)
{
    mousePress(view, pt, event);
}

void TextTool::reset()
{
    delete editor;
    editor = nullptr;
}
