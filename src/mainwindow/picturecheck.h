#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// Why a picture file is refused before anything is decoded: files that give
// no picture, files past the picture budget and SVG files that would make the
// renderer read other files. A file is checked on any thread; the reason is
// put in the user's language on the GUI thread.
class PictureCheck
{
public:
    struct Refusal
    {
        const char *english = nullptr; // the message, null when the file is accepted
        QStringList arguments; // for its %1, %2, ...
        bool tooLarge = false;

        bool isAccepted() const { return !english; }
        // GUI thread.
        QString text() const;
    };

    static Refusal check(const QString &strFile);
    static Refusal unreadable(const QString &strName);
};
