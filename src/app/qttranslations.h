#pragma once

#include <QString>

// The toolkit's own texts (file and colour dialogs, standard buttons, context
// menus of text fields) in the program's language, from ":/Language/qt_%1.qm".
// English, or a language without such a file, leaves the toolkit in English.
class QtTranslations
{
public:
    // Replaces the installed translation; true when one for strCode is installed.
    static bool apply(const QString &strCode);
};
