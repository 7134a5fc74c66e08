#pragma once

#include <QString>

// Copies inserted picture files into the temporary folder, where the image
// objects read them for the rest of the run. A copy already there is reused
// only when its content is the same; otherwise the copy gets the next free
// name "name(n).ext".
class PictureCopy
{
public:
    // The path of the copy (readable and writable by its owner only), or an
    // empty string when the source does not exist or cannot be copied.
    static QString into(const QString &strSource, const QString &strFolder);

    static bool sameContent(const QString &strFirst, const QString &strSecond);
};
