#pragma once

#include <QString>

#include <memory>

class QTemporaryFile;

// The hidden part files that saves and exports build beside their target
// before renaming them over it: ".NAME.part-XXXXXX" for documents (whose
// NAME ends in ".tavelmark") and ".NAME.tavelmark-part-XXXXXX" for exports,
// the six characters being the temporary-file maker's. Their writer holds
// them locked; one that a killed writer left is removed by the next write
// to its folder and at start-up, and one that a live writer holds never is.
class PartFiles
{
public:
    enum Kind { Document, Export };

    // A new part file beside strTarget, open and held; null when the folder
    // takes no new file.
    static std::unique_ptr<QTemporaryFile> create(const QString &strTarget, Kind kind);
    // Removes the part files of either kind in strFolder that no live writer
    // holds, and nothing else; returns how many went.
    static int removeStale(const QString &strFolder);
    static bool isPartName(const QString &strName);
};
