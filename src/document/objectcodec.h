#pragma once

#include "objectrecord.h"

#include <QJsonObject>

// Turns object records into the JSON objects of a document's manifest and
// back. Reading checks every value: a file from elsewhere may hold any
// number, and an object with one out of range is refused whole.
class ObjectCodec
{
public:
    // Coordinates and sizes beyond this are no drawing anyone made.
    static constexpr double MaxCoordinate = 1e6;
    // One stroke of the pen adds three elements for every 4 px the pointer
    // moves: this is a stroke 85,000 px long drawn without lifting the pen.
    static constexpr int MaxPathElements = 1 << 16;
    // The text tool's largest text is written in some 300,000 characters.
    static constexpr int MaxTextBytes = 1 << 19;
    // The widest tool, the eraser, goes to 150.
    static constexpr int MaxWidth = 200;

    // `picture` names the picture of an image (an entry or a file).
    static QJsonObject encode(const ObjectRecord &r, const QString &picture);

    enum Verdict { Read, UnknownKind, Invalid };
    // `picture` receives the picture's name for an image.
    static Verdict decode(const QJsonObject &o, ObjectRecord *r, QString *picture);

    // The keys this version writes for an object of `kind`.
    static QStringList knownKeys(const QString &kind);
};
