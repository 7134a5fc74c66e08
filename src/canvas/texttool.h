#pragma once

#include "document/objtext.h"
#include "texteditwidget.h"
#include "tool.h"

#include <QPointer>

// A click opens an in-place editor; the next click turns what was typed into
// a text object, or just closes an empty editor.
class TextTool : public Tool
{
public:
    ~TextTool() override;

    void mouseDoubleClick(ToolHost *host, const QPointF &pt, QInputEvent *event) override;
    // Discards the text being edited.
    void reset() override;
    // The editor stays over the page point it was opened at.
    void viewMoved(ToolHost *host) override;

    TextEditWidget *textEditor() const;

    ObjText textTemplate;
    int popupIndex = 0;

protected:
    void begin(ToolHost *host, const Input &input) override;

private:
    void openEditor(ToolHost *host, const QPointF &pt);
    void commit(ToolHost *host);

    // The canvas owns the editor as its child and may go first.
    QPointer<TextEditWidget> editor;
    QPointF editorAt; // on the page
};
