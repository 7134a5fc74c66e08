#include "sealedtextdocument.h"

QVariant SealedTextDocument::loadResource(int, const QUrl &)
{
    return QVariant();
}
