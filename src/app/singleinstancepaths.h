#pragma once

#include <QString>
#include <QStringList>

// Where the single-instance lock and socket live for a given key. The key
// holds a folder path, so it is hashed into a file name inside a folder
// private to the user: the runtime folder (or a 0700 fallback), else the data
// folder when the first cannot hold a lock. The caller creates the folder.
class SingleInstancePaths
{
public:
    SingleInstancePaths(const QString &strKey, const QString &strFolder);

    // The folders to try, in order.
    static QStringList folders();

    QString folder() const { return dir; }
    QString lockFile() const { return dir + QStringLiteral("/") + base + QStringLiteral(".lock"); }
    QString socketFile() const
    {
        return dir + QStringLiteral("/") + base + QStringLiteral(".sock");
    }

private:
    QString dir;
    QString base;
};
