#include "texttool.h"

#include "document/addcommand.h"
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

void TextTool::begin(ToolHost *host, const Input &input)
{
    if (!editor)
        openEditor(host, input.point);
    else if (!editor->document())
        reset();
    else
        commit(host);
}

void TextTool::openEditor(ToolHost *host, const QPointF &pt)
{
    editor = new TextEditWidget(textTemplate.font, QString(), host->widget());
    editor->setAlignment(textTemplate.alignment);
    editor->setFontPointSize(textTemplate.font.pointSize());
    editor->setTextColor(textTemplate.colour);
    editorAt = pt;
    editor->move(host->transform().toView(pt).toPoint());
    editor->show();
    editor->focusText();
}

void TextTool::commit(ToolHost *host)
{
    const int m = TextEditWidget::margin;
    const QRect box = editor->geometry();
    // The editor sits on the view; the text keeps its size on the page.
    const QPointF at = host->transform().toPage(box.topLeft());
    textTemplate.rect = QRectF(at.x() + m, at.y() + m, box.width() - 2 * m, box.height() - 2 * m);
    textTemplate.centre = textTemplate.rect.center();
    textTemplate.setDocument(editor->document()->clone());
    reset();
    host->paintLayer([this](QPainter &painter) { textTemplate.paint(&painter); });
    textTemplate.update(host);
    host->pushCommand(new AddCommand(host, textTemplate.clone()));
}

void TextTool::viewMoved(ToolHost *host)
{
    if (editor)
        editor->move(host->transform().toView(editorAt).toPoint());
}

void TextTool::mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event)
{
    mousePress(host, pt, event);
}

void TextTool::reset()
{
    delete editor;
    editor = nullptr;
}
