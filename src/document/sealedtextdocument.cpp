#include "sealedtextdocument.h"

#include <QTextBlock>

bool SealedTextDocument::hasPictures() const
{
    for (QTextBlock block = begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (it.fragment().charFormat().isImageFormat())
                return true;
    return false;
}

QVariant SealedTextDocument::loadResource(int, const QUrl &)
{
    return QVariant();
}
