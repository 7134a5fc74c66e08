#pragma once

#include <QTextDocument>

// A text document that never reads anything but its own text: the formatted
// content of a document file comes from someone else, and a plain text
// document would load the pictures and style sheets it names from disk.
class SealedTextDocument : public QTextDocument
{
public:
    using QTextDocument::QTextDocument;

protected:
    QVariant loadResource(int type, const QUrl &name) override;
};
