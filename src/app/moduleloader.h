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
    // The module's root as the interface T, or null with a warning that
    // names `what` the module should have been.
    template<class T>
    static T *loadAs(const char *name, const char *what)
    {
        QString why;
        QObject *root = load(QLatin1String(name), &why);
        auto *module = qobject_cast<T *>(root);
        if (!module)
            warnNotLoaded(what,
                          root ? QStringLiteral("it is not a %1 module").arg(QLatin1String(what))
                               : why);
        return module;
    }
    static bool isLoaded(const QString &name);
    static QStringList folders();

private:
    static void warnNotLoaded(const char *what, const QString &why);
};
