#pragma once

#include <QString>

// Finds the user guide in the working folder: "help_<language>.pdf" when the
// guide has been written in the interface's language, otherwise "help.pdf".
class HelpGuide
{
public:
    // The guide's path, or an empty string when neither file exists.
    static QString find(const QString &strFolder, const QString &strLanguage);
    // The path that is reported when the guide is missing.
    static QString expectedPath(const QString &strFolder);
};
