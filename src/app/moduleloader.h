#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

// Loads the program's own modules: libraries that only some commands need,
// kept out of start-up so that no start pays for mapping them. A module is
// looked for in the folder named by TAV_MODULE_DIR when it is set, beside
// the program (the build tree) and in the installed module folder. A loaded
// module stays loaded; one that failed is tried again on the next call.
class ModuleLoader
{
public:
    // The module's root object, or null with the reason in `why`. Any thread
    // may call it.
    static QObject *load(const QString &name, QString *why = nullptr);
    static bool isLoaded(const QString &name);
    static QStringList folders();
};
