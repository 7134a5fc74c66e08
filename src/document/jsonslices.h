#pragma once

#include <QByteArray>
#include <QList>

// Splits the text of a JSON object without parsing it: the elements of the
// array under one key of its top level, each as a range of the text, and the
// rest of the object with that array left empty. A large document's manifest
// is then parsed a page at a time, its first page without waiting for the
// others. Only the structure is followed; the parser checks each piece.
class JsonSlices
{
public:
    struct Range
    {
        qsizetype start = 0;
        qsizetype length = 0;
    };

    // False when the text is no object, or `key` appears more than once or
    // holds an array whose elements cannot be told apart. A key that is
    // missing or holds no array leaves the text whole and no elements.
    static bool split(const QByteArray &text, const QByteArray &key, QByteArray *rest,
                      QList<Range> *elements);

private:
    static qsizetype skipSpace(const QByteArray &text, qsizetype i);
    static qsizetype stringEnd(const QByteArray &text, qsizetype i);
    static qsizetype valueEnd(const QByteArray &text, qsizetype i);
    static bool findMember(const QByteArray &text, const QByteArray &key, Range *value);
    static bool splitArray(const QByteArray &text, const Range &array, QList<Range> *elements);
};
