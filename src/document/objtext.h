#pragma once

#include "obj.h"

#include <QFont>

class QTextDocument;

// A frozen block of rich text, painted unrotated at the top-left of `rect`.
class ObjText : public Obj
{
public:
    ObjText();
    ~ObjText() override;

    QFont font = QFont(QStringLiteral("Arial"), 24);
    int alignment = Qt::AlignLeft;
    QTextDocument *document = nullptr; // owned

    // Takes ownership of `doc` and deletes the previous document.
    void setDocument(QTextDocument *doc);

    void paint(QPainter *p) override;
    Obj *clone() const override;
};
